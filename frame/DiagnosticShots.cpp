#include "DiagnosticShots.h"

#include "ModalScript.h"
#include "ShotWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTreeWidget>

namespace orvx::frame {

namespace {

const QString kSummary = QStringLiteral("Orvx ESD  - PST Summary");
constexpr int kWaitMs = 30000;

}  // namespace

void chooseFile(QWidget* window, const QString& path)
{
    // Typed in, as a user would: the dialog's list of the folder may not be read yet.
    if (auto* name = window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    else
        static_cast<QFileDialog*>(window)->selectFile(path);
    static_cast<QDialog*>(window)->accept();  // the file dialog's own accept checks the name
}

int writeDiagnosticShots(QWidget* control, const QString& folder, QStringList* errors)
{
    if (!selectPage(control, QStringLiteral("Diagnostics"))) {
        errors->append(QStringLiteral("no Diagnostics page"));
        return 0;
    }
    QAbstractButton* perform = visibleButton(control, 213);
    QAbstractButton* fromFile = visibleButton(control, 217);
    if (!perform || !fromFile) {
        errors->append(QStringLiteral("the Diagnostics page has no Perform Diagnostics or Load From File button"));
        return 0;
    }
    const QString dataFile = QDir(folder).absoluteFilePath(QStringLiteral("simulated-pst.dgn"));
    QFile::remove(dataFile);
    ShotWriter shots(folder, errors);

    // A PST: its summary, the graph of its signature in both plots, saved into the data file.
    ModalScript pst({
        {kSummary,
         [&](QWidget* summary) {
             shots.Take(summary, "diagnostics-pst-summary.png");
             ModalScript::ClickLater(summary, 213);  // View Graph
         }},
        {kGraphWindow,
         [&](QWidget* graph) {
             shots.Take(graph, "diagnostics-graph.png");
             ModalScript::ClickLater(graph, 365);  // against time
             QApplication::processEvents();
             shots.Take(graph, "diagnostics-graph-time.png");
             ModalScript::ClickLater(graph, 364);
             ModalScript::ClickLater(graph, 372);  // Save
         }},
        {kFileDialog, [&](QWidget* dialog) { chooseFile(dialog, dataFile); }},
        {kGraphWindow, [](QWidget* graph) { ModalScript::ClickLater(graph, 359); }},  // Close
        {kSummary, [](QWidget* summary) { ModalScript::ClickLater(summary, 1); }},    // Finish
    });
    pst.Run([perform] { perform->click(); }, kWaitMs, errors);

    // The record read back: the picker with the file's records, then its graph.
    ModalScript load({
        {kFileDialog, [&](QWidget* dialog) { chooseFile(dialog, dataFile); }},
        {kPickerWindow,
         [&](QWidget* picker) {
             if (auto* list = picker->findChild<QTreeWidget*>(QStringLiteral("item_389"));
                 list && list->topLevelItemCount())
                 list->setCurrentItem(list->topLevelItem(0));
             shots.Take(picker, "diagnostics-select-data.png");
             ModalScript::ClickLater(picker, 1);  // OK
         }},
        {kGraphWindow,
         [&](QWidget* graph) {
             shots.Take(graph, "diagnostics-graph-from-file.png");
             ModalScript::ClickLater(graph, 359);
         }},
    });
    load.Run([fromFile] { fromFile->click(); }, kWaitMs, errors);
    return shots.Written();
}

}  // namespace orvx::frame
