// Renders each window of the program with a sample phone book to PNG files for the manual,
// offscreen, so the pictures always show the windows as they are built. Also writes the
// application icon as vemblor.png for the desktop entry.
//   vemblor-screenshots OUTPUT_DIR

#include "app/core/sample_book.h"
#include "app/core/settings.h"
#include "app/ui/app_icon.h"
#include "app/ui/main_dlg.h"
#include "app/ui/port_dlg.h"
#include "app/ui/transfer_settings_dlg.h"
#include "app/ui/vemblor_app.h"
#include "app/ui/version_dlg.h"
#include "device/ui/serial_dlg.h"
#include "exchange/core/csv_reader.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/operation_code.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/merge_preview_dlg.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/message_service.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTableView>
#include <QTableWidget>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The offscreen platform draws no window frame; the picture of a window with a title bar gets a
// plain caption bar with the window's title, so the reader can match it with the window on the
// screen. A frameless window (the progress and transfer windows) is shown as it is.
QImage framed(QWidget& window)
{
    const QPixmap client = window.grab();
    if (window.windowFlags() & Qt::FramelessWindowHint)
        return client.toImage();
    const int bar = window.fontMetrics().height() + 10;
    QImage image(client.width() + 2, client.height() + bar + 1, QImage::Format_ARGB32);
    image.fill(QColor(0x1d, 0x3f, 0x72));
    QPainter painter(&image);
    painter.drawPixmap(1, bar, client);
    painter.setPen(Qt::white);
    painter.setFont(window.font());
    painter.drawText(QRect(8, 0, image.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    return image;
}

// A window whose showing starts work of its own (the transfer window opens the port) is drawn
// without being shown.
enum class Show { Yes, No };

bool save(QWidget& window, const QString& dir, const char* name, Show show = Show::Yes)
{
    if (show == Show::Yes)
        window.show();
    else
        window.adjustSize();
    QApplication::processEvents();
    const QString path = QDir(dir).filePath(QString::fromUtf8(name) + QStringLiteral(".png"));
    if (!framed(window).save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    window.hide();
    return true;
}

// The pictures never wait for an answer: a message that shows up is printed instead.
class PrintedMessages final : public MessageService, public FileTaskHost {
public:
    void showMessage(const QString& text, QWidget*) override { print(text); }
    bool askYesNo(const QString& text, QWidget*) override { return print(text); }
    bool confirmLoss(const QString& text, QWidget*) override { return print(text); }
    int askChoice(const QString& text, const QStringList&, int preset, int, QWidget*) override
    {
        print(text);
        return preset;
    }
    void showMessage(const QString& text) override { print(text); }
    bool askYesNo(const QString& text) override { return print(text); }
    bool pollCancel() override { return false; }

private:
    static bool print(const QString& text)
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return false;
    }
};

// Reads a short CSV file of the sample people into the tables of csv, as CSV インポート does.
bool loadSampleCsv(const QString& dir, FileTaskHost& host, CsvImport& csv)
{
    const QString path = QDir(dir).filePath(QStringLiteral("sample.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const char* lines[] = {"山田太郎,ﾔﾏﾀﾞ ﾀﾛｳ,09012345678,taro.yamada@example.jp,大学の同期",
                           "佐藤花子,ｻﾄｳ ﾊﾅｺ,08098765432,hanako@example.co.jp,",
                           "鈴木一郎,ｽｽﾞｷ ｲﾁﾛｳ,0451112222,,町内会長",
                           "高橋美咲,ﾀｶﾊｼ ﾐｻｷ,07011223344,misaki@example.ne.jp,"};
    for (const char* line : lines)
        file.write(toCp932(QString::fromUtf8(line)).value_or(QByteArray()) + "\r\n");
    file.close();
    const bool read = readCsvFile(path, host, csv) == FILE_TASK_DONE;
    QFile::remove(path);
    return read;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vemblor-screenshots OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    // The windows read and write the settings file of the current directory.
    QDir::setCurrent(dir);
    Settings settings;
    CVemblorApp::initInstance();
    PrintedMessages messages;
    setMessageService(&messages);
    bool ok = appIcon().pixmap(256, 256).save(QDir(dir).filePath(QStringLiteral("vemblor.png")));

    CVemblorDlg main(settings);
    ok &= save(main, dir, "main");

    auto sample = std::make_unique<TelBook>();
    loadSampleBook(*sample);
    main.document().replace(*sample, QString());
    CTelListDlg list(main.document());
    list.list()->selectRow(1);
    ok &= save(list, dir, "list");

    // The picture shows a USB adapter chosen, whatever devices the machine that builds it has.
    const QString adapter = QStringLiteral("/dev/ttyUSB0");
    settings.setSerialDeviceSource([adapter] {
        return QList<SerialDevice>{{adapter, QStringLiteral("FTDI FT232R USB UART")}};
    });
    CPortDlg port(settings);
    port.portList()->setCurrentIndex(port.portList()->findData(adapter));
    ok &= save(port, dir, "port");

    CTransferSettingsDlg transferSettings(settings);
    ok &= save(transferSettings, dir, "transfer_settings");

    CVersionDlg version;
    ok &= save(version, dir, "version");

    {
        CTelEditDlg edit(main.document().entry(0));
        ok &= save(edit, dir, "edit");
    }

    {
        CFileRWDlg progress(OP_IMPORT_VCARD);
        progress.openProgress();
        ok &= save(progress, dir, "progress");
    }

    if (CsvImport sample; loadSampleCsv(dir, messages, sample)) {
        auto assigned = std::make_unique<TelBook>();
        CCsvEdit csv(sample, *assigned);
        csv.show();
        // Categories given to the first columns, as the user does with header clicks.
        for (int column = 0; column < 4; ++column) {
            const int categories[] = {CSV_CAT_NAME, CSV_CAT_FURIGANA, CSV_CAT_TEL1, CSV_CAT_MAIL1};
            csv.categoryBox()->setCurrentIndex(categories[column]);
            emit csv.list()->horizontalHeader()->sectionClicked(column);
        }
        ok &= save(csv, dir, "csv");
    } else {
        ok = false;
    }

    {
        CSerialDlg transfer{OP_DEVICE_WRITE, QString(), plainTransfer()};
        transfer.label(IDC_TRANSFER_PROGRESS)->setText(QStringLiteral("0003件目"));
        ok &= save(transfer, dir, "transfer", Show::No);
    }

    {
        // The sample book as a smartphone holds it: one person with a second number, one with
        // a memo of their own, and a new person.
        std::vector<TelEntry> incoming(sample->entries, sample->entries + 3);
        storeCp932(QStringLiteral("09098765432"), incoming[0].tel[1].number,
                   sizeof incoming[0].tel[1].number);
        storeCp932(QStringLiteral("同窓会の幹事"), incoming[1].memo, sizeof incoming[1].memo);
        storeCp932(QStringLiteral("新井健一"), incoming[2].name, sizeof incoming[2].name);
        storeCp932(QStringLiteral("ｱﾗｲ ｹﾝｲﾁ"), incoming[2].furigana, sizeof incoming[2].furigana);
        storeCp932(QStringLiteral("08011223344"), incoming[2].tel[0].number,
                   sizeof incoming[2].tel[0].number);
        CMergePreviewDlg preview(*sample, incoming);
        ok &= save(preview, dir, "merge_preview");
    }

    return ok ? 0 : 1;
}
