#include "device/core/port_failure.h"

QString portOpenReason(PortFailure failure, const QString& systemText)
{
    switch (failure) {
    case PortFailure::NoSuchDevice:
        return QStringLiteral("このデバイスはありません。ケーブルとアダプタがつながっているか、"
                              "ポートの設定が正しいかを確かめてください。");
    case PortFailure::PermissionDenied:
        return QStringLiteral(
            "このデバイスを使う権限がありません。ユーザーをグループ dialout "
            "に加え（sudo adduser ユーザー名 dialout）、ログインし直してください。");
    case PortFailure::Busy:
        return QStringLiteral("ほかのプログラムがこのデバイスを使っています。"
                              "そのプログラムを終了してから、もう一度お試しください。");
    case PortFailure::None:
    case PortFailure::Other:
        break;
    }
    return QStringLiteral("デバイスを開けませんでした（%1）。").arg(systemText);
}

QString portOpenMessage(const QString& device, PortFailure failure, const QString& systemText)
{
    return QStringLiteral("有効なＣＯＭポートではありません。\n%1: %2")
        .arg(device, portOpenReason(failure, systemText));
}
