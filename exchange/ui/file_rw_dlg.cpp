#include "exchange/ui/file_rw_dlg.h"

#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace {

// Events run at most this often during a task; a cancel already delivered is still handed over
// at the very next poll.
constexpr qint64 DRAIN_INTERVAL_MS = 5;
// The clock is looked at every this many polls; the longest step between two polls (a line of
// 25,600 bytes, a block of saved cards) takes microseconds, so a cancel is still seen within a
// few milliseconds of the interval.
constexpr int POLLS_PER_CLOCK_READ = 64;

QString textForOperation(OperationCode operation)
{
    switch (operation) {
    case OP_IMPORT_VCARD:
        return QStringLiteral("ｖＣａｒｄインポート中・・・");
    case OP_IMPORT_CSV:
        return QStringLiteral("ＣＳＶインポート中・・・");
    case OP_SAVE:
    case OP_SAVE_AS:
        return QStringLiteral("保存中・・・");
    default:
        return QString();
    }
}

QLabel* addEmptyText(QWidget* parent, const DialogUnits& du, int id, QRect rect)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("text%1").arg(id));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(du.rect(rect.x(), rect.y(), rect.width(), rect.height()));
    return label;
}

} // namespace

CFileRWDlg::CFileRWDlg(OperationCode operation)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), operation_(operation),
      drainThrottle_(DRAIN_INTERVAL_MS, POLLS_PER_CLOCK_READ)
{
    setWindowTitle(QStringLiteral("Vemblor"));
    // Esc and Enter belong to this window (the cancel button), not to the application filter.
    keepDialogKeys(*this);
    DialogUnits du(this);

    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Box | QFrame::Sunken);
    border->setGeometry(du.rect(0, 0, 154, 81));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setGeometry(du.rect(13, 16, 18, 21));

    taskText_ = new QLabel(QStringLiteral("データ書き込み中　"), this);
    taskText_->setObjectName(QStringLiteral("text1002"));
    taskText_->setAlignment(Qt::AlignCenter);
    taskText_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    taskText_->setGeometry(du.rect(37, 21, 104, 10));

    addEmptyText(this, du, 1004, QRect(30, 64, 25, 8));
    addEmptyText(this, du, 1005, QRect(33, 35, 45, 8));
    addEmptyText(this, du, 1009, QRect(41, 33, 102, 8));

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress1003"));
    progress_->setEnabled(false);
    progress_->setTextVisible(false);
    progress_->setGeometry(du.rect(7, 46, 77, 13));

    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setDefault(true);
    cancel_->setGeometry(du.rect(97, 47, 48, 14));
    connect(cancel_, &QPushButton::clicked, this, &CFileRWDlg::reject);

    setFixedSize(du.x(155), du.y(81));
}

CFileRWDlg::~CFileRWDlg()
{
    if (ownerDisabled_ && ownerWindow_)
        ownerWindow_->setEnabled(true);
}

bool CFileRWDlg::openProgress(QWidget* owner)
{
    if (!owner)
        owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                  : QApplication::activeWindow();
    ownerWindow_ = owner;
    if (owner && owner->isEnabled()) {
        owner->setEnabled(false);
        ownerDisabled_ = true;
    }

    progress_->setRange(rangeLower_, rangeUpper_);
    progress_->setValue(rangeLower_);
    taskText_->setText(textForOperation(operation_));
    progress_->hide(); // no task advances it

    if (const QScreen* screen = owner ? owner->screen() : QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // Kept above the owner without being its child, which would disable it along with the owner.
    create();
    if (owner && owner->window()->windowHandle())
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    show();
    if (!isVisible()) {
        if (ownerDisabled_ && ownerWindow_)
            ownerWindow_->setEnabled(true);
        ownerDisabled_ = false;
        return false;
    }
    return true;
}

void CFileRWDlg::drainEvents()
{
    if (drainThrottle_.due())
        QApplication::processEvents(QEventLoop::AllEvents);
}

bool CFileRWDlg::pollCancel()
{
    drainEvents();
    const bool requested = cancelRequested_;
    cancelRequested_ = false;
    return requested;
}

bool CFileRWDlg::askYesNo(const QString& text)
{
    return messages().askYesNo(text, this);
}

void CFileRWDlg::showMessage(const QString& text)
{
    messages().showMessage(text, this);
}

void CFileRWDlg::reject()
{
    cancelRequested_ = true;
}
