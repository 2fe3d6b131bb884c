#include "exchange/core/save_sink.h"

#include <cerrno>
#include <cstring>

bool SaveFileSink::open()
{
    // Unbuffered, so a failing write reports at once with the system's own error number
    // instead of at some later flush; the writer hands over whole blocks of cards.
    errno = 0;
    if (file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    lastError_ = errno;
    return false;
}

bool SaveFileSink::write(QByteArrayView bytes)
{
    errno = 0;
    if (file_.write(bytes.data(), bytes.size()) == bytes.size())
        return true;
    lastError_ = errno;
    return false;
}

bool SaveFileSink::commit()
{
    errno = 0;
    if (file_.commit())
        return true;
    lastError_ = errno;
    return false;
}

void SaveFileSink::discard()
{
    if (!file_.isOpen())
        return;
    file_.cancelWriting();
    file_.commit(); // removes the new file; fails by design
}

const char* saveErrorMessage(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return "保存先のディスク容量がいっぱいです。";
    case ENOENT:
    case ENOTDIR:
        return "パスが見つかりません。";
    case EROFS:
    case EACCES:
    case EPERM:
        return "保存先のディスクが書き込み禁止になっています。";
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
        return "保存先のディスクが入っていません。";
#ifdef EMEDIUMTYPE
    case EMEDIUMTYPE:
        return "保存先のディスクがFormatされていません。";
#endif
    default:
        return "その他のエラーが発生しました。";
    }
}

bool saveErrorHasReason(int errorNumber)
{
    return std::strcmp(saveErrorMessage(errorNumber), saveErrorMessage(0)) != 0;
}
