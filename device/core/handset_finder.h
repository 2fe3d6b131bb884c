#pragma once
// Finds the port a handset is on. Each device is opened in turn and asked "AT", "ATI3", "AT@S"
// and the book information "<1F>", each reply awaited only a short time; a handset is taken out
// of data-transfer mode again with "+++", and every port is closed before the next is tried. The
// phone book is never read, erased or written.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class ProbeStatus {
    NotOpened,          // the device did not open
    NoAnswer,           // nothing answered "AT" (or nothing at all arrived)
    NotAHandset,        // something answered, but not one of the maker's handsets
    UnsupportedHandset, // a handset, whose book information names no model the program serves
    Handset,            // a handset of a model the program reads
};

struct ProbeResult {
    QString device;
    ProbeStatus status = ProbeStatus::NoAnswer;
    QString model;         // for a Handset: the model it reported
    QString failureReason; // for NotOpened: why, in words the user can act on
};

// How long a reply is awaited: a handset answers within a fraction of a second.
constexpr int PROBE_REPLY_TIMEOUT_MS = 500;

// Asks the device at path whether a handset is behind it. waiting runs while replies are
// awaited (e.g. to repaint the window); the port is closed again before the call returns.
ProbeResult probeDevice(const QString& path, int replyTimeoutMs = PROBE_REPLY_TIMEOUT_MS,
                        const std::function<void()>& waiting = {});

struct FindResult {
    // The first device where a handset answered: one of a model the program reads if any.
    std::optional<ProbeResult> found;
    // Every device tried, in order, with what came of it.
    QList<ProbeResult> tried;
};

// Probes devices in order and stops at the first handset of a model the program reads.
FindResult findHandset(const QStringList& devices, int replyTimeoutMs = PROBE_REPLY_TIMEOUT_MS,
                       const std::function<void()>& waiting = {});

// What the search came to, for the user: the port and model found, or why none was (each port
// tried, with what it did or why it did not open) and what to check.
QString findResultMessage(const FindResult& result);
