// The real file dialogs show each filter as the program writes it, and "All Files (*.*)"
// matches every file, also one without a dot.

#include "window_services/file_dialog_service.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Matched {
    QStringList shown;                // the filter box's entries
    QList<QStringList> matchingFiles; // per entry, which of the files it lists
};

Matched inspect(QFileDialog& dialog, const QStringList& files)
{
    Matched matched;
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!types || !model)
        return matched;
    for (int i = 0; i < types->count(); ++i) {
        matched.shown << types->itemText(i);
        dialog.selectNameFilter(dialog.nameFilters().at(i));
        QStringList listed;
        for (const QString& file : files)
            if (QDir::match(model->nameFilters(), file))
                listed << file;
        matched.matchingFiles << listed;
    }
    return matched;
}

TEST(FileDialogs, AllFilesMatchesFilesWithoutADot)
{
    const QStringList files = {QStringLiteral("README"), QStringLiteral("book.vcf"),
                               QStringLiteral("list.csv")};
    const QString filter = QStringLiteral("vCard Files(*.vcf);;All Files (*.*)");
    const std::pair<const char*, std::function<QString()>> dialogs[] = {
        {"open", [&] { return fileDialogs().openFileName(nullptr, filter); }},
        {"save",
         [&] { return fileDialogs().saveFileName(nullptr, filter, QStringLiteral("vcf")); }},
    };
    for (const auto& [name, run] : dialogs) {
        Matched matched;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << name;
            matched = inspect(*dialog, files);
            dialog->reject();
        });
        EXPECT_TRUE(run().isEmpty()) << name;
        EXPECT_EQ(matched.shown, (QStringList{QStringLiteral("vCard Files(*.vcf)"),
                                              QStringLiteral("All Files (*.*)")}))
            << name;
        EXPECT_EQ(matched.matchingFiles, (QList<QStringList>{{QStringLiteral("book.vcf")}, files}))
            << name;
    }
}

} // namespace
