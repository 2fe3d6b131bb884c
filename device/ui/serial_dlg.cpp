#include "device/ui/serial_dlg.h"

#include "device/core/transfer_session.h"
#include "window_services/dialog_units.h"
#include "window_services/message_service.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

QLabel* makeLabel(QWidget* parent, int id, const QRect& geometry, bool sunken)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("label%1").arg(id));
    label->setAlignment(Qt::AlignCenter);
    if (sunken)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setGeometry(geometry);
    return label;
}

} // namespace

CSerialDlg::CSerialDlg(OperationCode operation, const QString& device,
                       const TransferOptions& options, const TelBook* bookToWrite, QWidget* parent)
    : QDialog(parent), device_(device), driver_(operation, options, *this, bookToWrite)
{
    connect(&driver_, &TransferDriver::finished, this, &CSerialDlg::onFinished);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    DialogUnits du(this);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched
    frame->setGeometry(du.rect(0, 0, 155, 101));

    auto* icon = new QLabel(this);
    icon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The application's icon, which the application object installs.
    icon->setPixmap(QApplication::windowIcon().pixmap(du.x(20), du.y(20)));
    icon->setGeometry(du.rect(5, 22, 20, 20));

    title_ = makeLabel(this, IDC_TRANSFER_TITLE, du.rect(26, 22, 114, 11), true);
    action_ = makeLabel(this, IDC_TRANSFER_ACTION, du.rect(26, 34, 114, 11), true);
    caption_ = makeLabel(this, IDC_TRANSFER_CAPTION, du.rect(29, 54, 64, 8), false);
    progress_ = makeLabel(this, IDC_TRANSFER_PROGRESS, du.rect(34, 77, 80, 9), false);

    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setGeometry(du.rect(26, 88, 114, 8));
    bar_->hide();

    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("button%1").arg(IDC_TRANSFER_CANCEL));
    cancel_->setAutoDefault(false);
    cancel_->setGeometry(du.rect(103, 51, 37, 14));
    connect(cancel_, &QPushButton::clicked, this, &CSerialDlg::onCancel);

    title_->setText(QStringLiteral("電話帳コピー"));
    action_->setText(operation == OP_DEVICE_WRITE ? QStringLiteral("書き込み中")
                                                  : QStringLiteral("読み出し中"));
    caption_->setText(QStringLiteral("電話帳コピー"));
    setFixedSize(du.x(155), du.y(102));
}

CSerialDlg::~CSerialDlg() = default;

QLabel* CSerialDlg::label(int id) const
{
    switch (id) {
    case IDC_TRANSFER_TITLE:
        return title_;
    case IDC_TRANSFER_ACTION:
        return action_;
    case IDC_TRANSFER_CAPTION:
        return caption_;
    case IDC_TRANSFER_PROGRESS:
        return progress_;
    default:
        return nullptr;
    }
}

int CSerialDlg::exec()
{
    portOpened_ = driver_.openPort(device_);
    if (!portOpened_)
        return QDialog::Rejected;
    return QDialog::exec();
}

void CSerialDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The start-up runs once the modal loop is running, so that ending the dialog at once ends
    // that loop. When the tick thread does not start, only the cancel button is left.
    if (!started_) {
        started_ = true;
        QMetaObject::invokeMethod(
            this, [this] { driver_.start(); }, Qt::QueuedConnection);
    }
}

void CSerialDlg::onCancel()
{
    if (bookPartlyWritten(driver_.session())) {
        driver_.setPaused(true);
        const bool stop = askYesNo(QStringLiteral(
            "書き込みを中止すると、携帯電話の電話帳は途中までになります。中止しますか？"));
        driver_.setPaused(false);
        if (!stop)
            return;
    }
    cancelled_ = true;
    driver_.stop();
    showMessage(withStopNote(driver_.session(), QStringLiteral("中断しました。　　　　　　　　")));
    done(QDialog::Rejected);
}

void CSerialDlg::onFinished()
{
    if (!cancelled_)
        done(QDialog::Rejected);
}

void CSerialDlg::showMessage(const QString& text)
{
    messages().showMessage(text, this);
}

void CSerialDlg::showDone(const QString& text)
{
    messages().showInformation(text, this);
}

bool CSerialDlg::askYesNo(const QString& text)
{
    // The transfer's one question is the erase of the handset's book.
    return messages().confirmLoss(text, this);
}

void CSerialDlg::showProgress(const QString& text)
{
    progress_->setText(text);
}

void CSerialDlg::showShare(int done, int total)
{
    bar_->setRange(0, total);
    bar_->setValue(done);
    bar_->show();
}

void CSerialDlg::showClosing()
{
    action_->setText(QStringLiteral("終了処理中です"));
    progress_->clear();
    cancel_->setEnabled(false);
}

void CSerialDlg::showStep(const QString& text)
{
    action_->setText(text);
    cancel_->setEnabled(true);
}
