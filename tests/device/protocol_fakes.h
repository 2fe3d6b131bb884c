#pragma once
// A scripted handset behind the transfer port and a host that records what the protocol showed.

#include "device/core/rx_ring.h"
#include "device/core/transfer_host.h"
#include "device/core/transfer_port.h"
#include "device/core/transfer_session.h"
#include "tests/device/qt_printers.h"

#include <QQueue>
#include <QStringList>

#include <gtest/gtest.h>

// Answers the commands it expects, in order: each reply arrives in chunks, one chunk per poll
// (an empty chunk holds the reply back for a poll). A command it did not expect fails the test
// and gets no answer; so does every command once the script is used up.
class ScriptedPort final : public TransferPort {
public:
    struct Expectation {
        QByteArray command; // exact bytes, or a prefix when prefixOnly
        QList<QByteArray> chunks;
        bool prefixOnly = false;
    };

    void expect(const QByteArray& command, const QByteArray& reply = {})
    {
        script.enqueue({command, reply.isEmpty() ? QList<QByteArray>{} : QList{reply}, false});
    }
    void expectChunks(const QByteArray& command, QList<QByteArray> chunks)
    {
        script.enqueue({command, std::move(chunks), false});
    }
    // An entry frame, whatever its record.
    void expectFrame(const QByteArray& reply = "<2h>\r\n")
    {
        script.enqueue({"<1:1:", {reply}, true});
    }

    void purgePort() override
    {
        ++purges;
        arriving.clear();
    }
    bool writeCommand(QByteArrayView bytes) override
    {
        if (failWrites)
            return false;
        written.append(bytes.toByteArray());
        if (script.isEmpty()) {
            ADD_FAILURE() << "unexpected command " << bytes.toByteArray().toStdString();
            return true;
        }
        const Expectation next = script.dequeue();
        const bool matches =
            next.prefixOnly ? bytes.startsWith(next.command) : bytes == next.command;
        EXPECT_TRUE(matches) << "expected " << next.command.toStdString() << ", got "
                             << bytes.toByteArray().toStdString();
        if (matches)
            arriving.append(next.chunks);
        return true;
    }
    // A write nobody answers (the escape of a stopped transfer): recorded, never scripted.
    bool writeOnce(QByteArrayView bytes) override
    {
        if (failWrites)
            return false;
        written.append(bytes.toByteArray());
        return true;
    }
    bool pollReceive() override
    {
        if (failPolls)
            return false;
        if (!arriving.isEmpty())
            rx.append(arriving.takeFirst());
        return true;
    }
    std::optional<QByteArray> takeLine() override { return rx.takeLine(); }
    void resetReceive() override { rx.resetReceive(); }
    void dropReplyLine() override { rx.dropReplyLine(); }

    // Commands written, in order.
    QList<QByteArray> written;
    QQueue<Expectation> script;
    QList<QByteArray> arriving;
    RxRing rx;
    int purges = 0;
    bool failWrites = false;
    bool failPolls = false;
};

class ScriptedHost final : public TransferHost {
public:
    explicit ScriptedHost(OperationCode op) : op(op) {}

    OperationCode operation() const override { return op; }
    void showMessage(const QString& text) override { shown << text; }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        if (answers.isEmpty()) {
            ADD_FAILURE() << "unscripted question " << text.toStdString();
            return false;
        }
        return answers.dequeue();
    }
    void showProgress(const QString& text) override { progress << text; }
    void showClosing() override { ++closings; }
    void endTransfer() override { ++ends; }

    OperationCode op;
    QStringList shown;
    QStringList questions;
    QStringList progress;
    QQueue<bool> answers;
    int closings = 0;
    int ends = 0;
};

inline QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}
