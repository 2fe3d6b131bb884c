#include "device/core/handset_finder.h"

#include "device/core/port_failure.h"
#include "device/core/reply_parsers.h"
#include "device/core/serial_port.h"
#include "device/core/transfer_session.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

constexpr int POLL_INTERVAL_MS = 5;
constexpr int ATTENTION_TRIES = 2; // a line may swallow the first command after it opens

// One conversation with one device, each reply awaited at most timeoutMs.
class Probe {
public:
    Probe(SerialPort& port, int timeoutMs, const std::function<void()>& waiting)
        : port_(port), timeoutMs_(timeoutMs), waiting_(waiting)
    {
    }

    // A supported handset's model, or the status that ended the conversation early.
    ProbeStatus run(QString& model)
    {
        if (!attention())
            return ProbeStatus::NoAnswer;
        if (!identify())
            return ProbeStatus::NotAHandset;
        const ProbeStatus status = queryBook(model);
        leaveDataMode();
        return status;
    }

private:
    bool send(LinkState state)
    {
        port_.resetReceive();
        port_.dropReplyLine();
        return port_.writeCommand(linkCommand(state));
    }

    // The next reply line, or nothing once the time-out has passed or the line failed.
    std::optional<QByteArray> nextLine(const QDeadlineTimer& deadline)
    {
        // The deadline holds also for a device that never stops sending lines.
        while (!deadline.hasExpired()) {
            if (!port_.pollReceive())
                return std::nullopt;
            if (std::optional<QByteArray> line = port_.takeLine())
                return line;
            if (waiting_)
                waiting_();
            QThread::msleep(POLL_INTERVAL_MS);
        }
        return std::nullopt;
    }

    bool attention()
    {
        port_.purgePort();
        for (int attempt = 0; attempt < ATTENTION_TRIES; ++attempt) {
            if (!send(LINK_ATTENTION))
                return false;
            const QDeadlineTimer deadline(timeoutMs_);
            while (const std::optional<QByteArray> line = nextLine(deadline)) {
                const ReplyClass reply = classifyReply(*line);
                if (reply == REPLY_OK)
                    return true;
                if (reply != REPLY_ECHO && reply != REPLY_EMPTY)
                    break;
            }
        }
        return false;
    }

    // The maker's name and "OK", in either order.
    bool identify()
    {
        if (!send(LINK_IDENTIFY))
            return false;
        bool maker = false;
        bool ok = false;
        const QDeadlineTimer deadline(timeoutMs_);
        while (const std::optional<QByteArray> line = nextLine(deadline)) {
            switch (classifyIdentity(*line)) {
            case REPLY_MAKER:
                maker = true;
                break;
            case REPLY_OK:
                ok = true;
                break;
            case REPLY_OTHER:
                return false;
            default:
                break;
            }
            if (maker && ok)
                return true;
        }
        return false;
    }

    ProbeStatus queryBook(QString& model)
    {
        enteredDataMode_ = send(LINK_ENTER_DATA);
        if (!enteredDataMode_)
            return ProbeStatus::UnsupportedHandset;
        const QDeadlineTimer enterDeadline(timeoutMs_);
        bool entered = false;
        while (const std::optional<QByteArray> line = nextLine(enterDeadline)) {
            const ReplyClass reply = classifyReply(*line);
            if (reply == REPLY_OK) {
                entered = true;
                break;
            }
            if (reply != REPLY_ECHO && reply != REPLY_EMPTY)
                break;
        }
        if (!entered || !send(LINK_QUERY_BOOK))
            return ProbeStatus::UnsupportedHandset;
        const QDeadlineTimer deadline(timeoutMs_);
        while (const std::optional<QByteArray> line = nextLine(deadline)) {
            if (line->isEmpty())
                continue;
            const BookInfo info = parseBookInfo(*line, OP_DEVICE_READ);
            if (info.result != BOOK_SUPPORTED)
                return ProbeStatus::UnsupportedHandset;
            model = QString::fromLatin1(info.model.data());
            return ProbeStatus::Handset;
        }
        return ProbeStatus::UnsupportedHandset;
    }

    // "+++" once "AT@S" went out, whatever came of it, and its "OK" awaited briefly.
    void leaveDataMode()
    {
        if (!enteredDataMode_ || !send(LINK_LEAVE_DATA))
            return;
        const QDeadlineTimer deadline(timeoutMs_);
        while (const std::optional<QByteArray> line = nextLine(deadline))
            if (classifyLeaveReply(*line) != LeaveReply::Ignore)
                return;
    }

    SerialPort& port_;
    const int timeoutMs_;
    const std::function<void()> waiting_;
    bool enteredDataMode_ = false;
};

QString statusText(const ProbeResult& result)
{
    switch (result.status) {
    case ProbeStatus::NotOpened:
        return result.failureReason;
    case ProbeStatus::NoAnswer:
        return QStringLiteral("応答がありません。");
    case ProbeStatus::NotAHandset:
        return QStringLiteral("携帯電話ではない機器が応答しました。");
    case ProbeStatus::UnsupportedHandset:
        return QStringLiteral("携帯電話が応答しましたが、電話帳の転送に対応していない機種です。");
    case ProbeStatus::Handset:
        return QStringLiteral("携帯電話 %1 が応答しました。").arg(result.model);
    }
    return QString();
}

} // namespace

ProbeResult probeDevice(const QString& path, int replyTimeoutMs,
                        const std::function<void()>& waiting)
{
    ProbeResult result;
    result.device = path;
    SerialPort port;
    port.setWriteTimeout(replyTimeoutMs, 1);
    if (!port.openPort(path)) {
        result.status = ProbeStatus::NotOpened;
        result.failureReason = portOpenReason(port.openFailure(), port.openFailureText());
        return result;
    }
    result.status = Probe(port, replyTimeoutMs, waiting).run(result.model);
    port.closePort();
    return result;
}

FindResult findHandset(const QStringList& devices, int replyTimeoutMs,
                       const std::function<void()>& waiting)
{
    FindResult result;
    for (const QString& device : devices) {
        const ProbeResult probe = probeDevice(device, replyTimeoutMs, waiting);
        result.tried.append(probe);
        if (probe.status == ProbeStatus::Handset) {
            result.found = probe;
            return result;
        }
        if (probe.status == ProbeStatus::UnsupportedHandset && !result.found)
            result.found = probe;
    }
    return result;
}

QString findResultMessage(const FindResult& result)
{
    if (result.found && result.found->status == ProbeStatus::Handset)
        return QStringLiteral("携帯電話 %1 が見つかりました。\n%2\n"
                              "OKボタンを押すと、このポートを使います。")
            .arg(result.found->model, result.found->device);
    if (result.found)
        return QStringLiteral(
                   "携帯電話が応答しましたが、電話帳の転送に対応していない機種です。\n%1")
            .arg(result.found->device);
    if (result.tried.isEmpty())
        return QStringLiteral("シリアルポートが見つかりません。携帯電話のケーブル（USBアダプタ）を"
                              "つないでから、もう一度お試しください。");
    QString text = QStringLiteral("携帯電話が見つかりませんでした。\n"
                                  "ケーブルがつながっているか、携帯電話の電源が入って待受画面に"
                                  "なっているかを確かめてください。\n");
    for (const ProbeResult& probe : result.tried)
        text += QStringLiteral("\n%1: %2").arg(probe.device, statusText(probe));
    return text;
}
