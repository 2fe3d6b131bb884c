// Finding the handset's port with the real serial port code against simulated handsets on
// pseudo-terminals.

#include "device/core/handset_finder.h"
#include "device/emulator/pty_handset.h"
#include "tests/device/open_descriptors.h"
#include "tests/device/qt_printers.h"
#include "tests/support/book_fixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int TEST_REPLY_TIMEOUT_MS = 200;

QList<QByteArray> commandsOf(PtyHandset& handset)
{
    return handset.withHandset([](SimulatedHandset& h) { return h.commands(); });
}

const QList<QByteArray> PROBE_COMMANDS = {"AT", "ATI3", "AT@S", "<1F>", "+++"};

// Each kind of device answers the probe in its own way, and whatever it does the port ends
// closed, the phone book untouched and a handset out of data-transfer mode.
TEST(HandsetProbe, EachKindOfDeviceIsToldApart)
{
    struct Case {
        const char* what;
        HandsetOptions options;
        ProbeStatus status;
        const char* model;
        QList<QByteArray> commands;
    };
    HandsetOptions silent;
    silent.silentFrom = {HandsetStep::Attention, 1};
    HandsetOptions unsupported;
    unsupported.model = "ZZ900X";
    HandsetOptions readOnlyModel;
    readOnlyModel.model = "VN540R";
    HandsetOptions noBookInfo;
    noBookInfo.silentFrom = {HandsetStep::QueryBook, 1};
    HandsetOptions refusesDataMode;
    refusesDataMode.failAt = {HandsetStep::EnterData, 1};
    HandsetOptions modem;
    modem.failAt = {HandsetStep::Identify, 1}; // another maker's modem
    HandsetOptions slowLines;
    slowLines.lineGapMs = 50; // the maker's name and its "OK" arrive apart
    const Case cases[] = {
        {"a handset", {}, ProbeStatus::Handset, "VN650R", PROBE_COMMANDS},
        {"a model read only", readOnlyModel, ProbeStatus::Handset, "VN540R", PROBE_COMMANDS},
        {"lines apart", slowLines, ProbeStatus::Handset, "VN650R", PROBE_COMMANDS},
        {"nothing answers", silent, ProbeStatus::NoAnswer, "", {"AT", "AT"}},
        {"another device", modem, ProbeStatus::NotAHandset, "", {"AT", "ATI3"}},
        {"an unknown model", unsupported, ProbeStatus::UnsupportedHandset, "", PROBE_COMMANDS},
        // Silent after "AT@S": "+++" still goes out so the handset is not left in data mode.
        {"no book information", noBookInfo, ProbeStatus::UnsupportedHandset, "", PROBE_COMMANDS},
        {"data mode refused",
         refusesDataMode,
         ProbeStatus::UnsupportedHandset,
         "",
         {"AT", "ATI3", "AT@S", "+++"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PtyHandset handset(c.options);
        ASSERT_TRUE(handset.start());
        handset.withHandset([](SimulatedHandset& h) {
            h.entries().push_back(makeEntry({"山田", "ﾔﾏﾀﾞ", {"0312345678"}}));
        });
        const ProbeResult result = probeDevice(handset.devicePath(), TEST_REPLY_TIMEOUT_MS);
        EXPECT_EQ(result.device, handset.devicePath());
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.model, QString::fromLatin1(c.model));
        EXPECT_EQ(commandsOf(handset), c.commands);
        EXPECT_EQ(openDescriptorsOn(handset.devicePath()), 1); // the handset's own side only
        EXPECT_EQ(handset.withHandset([](SimulatedHandset& h) { return h.entries().size(); }), 1u);
        // A handset fallen silent ignores "+++" too; any other is back out of data mode.
        if (c.options.silentFrom.step != HandsetStep::QueryBook) {
            EXPECT_FALSE(handset.withHandset([](SimulatedHandset& h) { return h.inDataMode(); }));
        }
    }
}

TEST(HandsetProbe, ADeviceThatDoesNotOpenSaysWhy)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ttyUSB7"));
    const ProbeResult result = probeDevice(missing, TEST_REPLY_TIMEOUT_MS);
    EXPECT_EQ(result.status, ProbeStatus::NotOpened);
    EXPECT_TRUE(result.failureReason.contains(QStringLiteral("このデバイスはありません")))
        << result.failureReason.toStdString();
}

class FindHandset : public testing::Test {
protected:
    void SetUp() override
    {
        HandsetOptions silentOptions;
        silentOptions.silentFrom = {HandsetStep::Attention, 1};
        silent = std::make_unique<PtyHandset>(silentOptions);
        ASSERT_TRUE(silent->start());
        HandsetOptions handsetOptions;
        handsetOptions.model = "604RN";
        handset = std::make_unique<PtyHandset>(handsetOptions);
        ASSERT_TRUE(handset->start());
        missing = dir.filePath(QStringLiteral("ttyACM3"));
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyHandset> silent;
    std::unique_ptr<PtyHandset> handset;
    QString missing;
};

TEST_F(FindHandset, PicksThePortWhereAHandsetAnswersAndNamesItsModel)
{
    const FindResult result =
        findHandset({missing, silent->devicePath(), handset->devicePath()}, TEST_REPLY_TIMEOUT_MS);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.found->device, handset->devicePath());
    EXPECT_EQ(result.found->model, QStringLiteral("604RN"));
    ASSERT_EQ(result.tried.size(), 3);
    EXPECT_EQ(result.tried[0].status, ProbeStatus::NotOpened);
    EXPECT_EQ(result.tried[1].status, ProbeStatus::NoAnswer);
    const QString message = findResultMessage(result);
    EXPECT_TRUE(message.contains(QStringLiteral("604RN"))) << message.toStdString();
    EXPECT_TRUE(message.contains(handset->devicePath())) << message.toStdString();
    EXPECT_EQ(openDescriptorsOn(silent->devicePath()), 1);
    EXPECT_EQ(openDescriptorsOn(handset->devicePath()), 1);
}

TEST_F(FindHandset, StopsAtTheFirstHandset)
{
    const FindResult result =
        findHandset({handset->devicePath(), silent->devicePath()}, TEST_REPLY_TIMEOUT_MS);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.tried.size(), 1);
    EXPECT_TRUE(commandsOf(*silent).isEmpty());
}

TEST_F(FindHandset, AHandsetOfAKnownModelWinsOverAnUnknownOne)
{
    HandsetOptions unknownOptions;
    unknownOptions.model = "ZZ900X";
    PtyHandset unknown(unknownOptions);
    ASSERT_TRUE(unknown.start());
    FindResult result =
        findHandset({unknown.devicePath(), handset->devicePath()}, TEST_REPLY_TIMEOUT_MS);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.found->device, handset->devicePath());
    result = findHandset({unknown.devicePath(), silent->devicePath()}, TEST_REPLY_TIMEOUT_MS);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.found->status, ProbeStatus::UnsupportedHandset);
    EXPECT_TRUE(findResultMessage(result).contains(unknown.devicePath()));
}

TEST_F(FindHandset, NoAnswerAnywhereListsEachPortWithWhatHappened)
{
    const FindResult result = findHandset({missing, silent->devicePath()}, TEST_REPLY_TIMEOUT_MS);
    EXPECT_FALSE(result.found);
    const QString message = findResultMessage(result);
    EXPECT_TRUE(message.startsWith(QStringLiteral("携帯電話が見つかりませんでした。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(missing + QStringLiteral(": このデバイスはありません")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(silent->devicePath() + QStringLiteral(": 応答がありません。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("待受画面")));

    const QString none = findResultMessage(findHandset({}, TEST_REPLY_TIMEOUT_MS));
    EXPECT_TRUE(none.startsWith(QStringLiteral("シリアルポートが見つかりません。")))
        << none.toStdString();
}

} // namespace
