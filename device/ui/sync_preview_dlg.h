#pragma once
// The preview of a sync before anything is written: what the handset's changes do to the PC
// book, what the PC's changes do to the handset, and a choice for each field both sides changed
// differently. The lists follow the choices as they are made.

#include "phonebook/core/sync_result.h"

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QListWidget;

class SyncPreviewDlg final : public QDialog {
    Q_OBJECT
public:
    using Resolver = std::function<SyncResult(const std::vector<ConflictChoice>&)>;

    // resolve gives the result for a choice per conflict of plan; handsetWritable false leaves
    // out the PC's changes, which a read-only model cannot take; note is said above the lists
    // (empty for none).
    SyncPreviewDlg(const SyncPlan& plan, Resolver resolve, bool handsetWritable,
                   const QString& note, QWidget* parent = nullptr);

    // One per conflict of the plan, in its order; the PC's value until another is chosen.
    std::vector<ConflictChoice> choices() const;

    QListWidget* toPcList() const { return toPc_; }
    QListWidget* toHandsetList() const { return toHandset_; } // null for a read-only model
    // The choice box of the conflict at index: 携帯電話 / パソコン / 両方を別の人として.
    QComboBox* choiceBox(int index) const { return choiceBoxes_.at(index); }
    int conflictCount() const { return static_cast<int>(choiceBoxes_.size()); }
    QDialogButtonBox* buttons() const { return buttons_; }

private:
    void showResult();

    Resolver resolve_;
    QListWidget* toPc_ = nullptr;
    QListWidget* toHandset_ = nullptr;
    std::vector<QComboBox*> choiceBoxes_;
    QDialogButtonBox* buttons_ = nullptr;
};
