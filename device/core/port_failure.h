#pragma once
// Why a serial port did not open, in words a user can act on.

#include <QString>

enum class PortFailure {
    None,
    NoSuchDevice,     // nothing at that path: unplugged adapter, wrong port setting
    PermissionDenied, // the device is there but this user may not open it
    Busy,             // another program has it open
    Other,            // anything else; the system's own words are given
};

// Why the device did not open and what to do about it, in a sentence or two.
QString portOpenReason(PortFailure failure, const QString& systemText);
// "有効なＣＯＭポートではありません。" followed by the device that was tried and the reason.
QString portOpenMessage(const QString& device, PortFailure failure, const QString& systemText);
