#pragma once

#include "platform/Dialogs.h"

#include <QDialog>

class QCheckBox;

namespace vendrel {

// The question asked before a transfer writes over an existing file: both
// files' sizes and dates, what to do, and whether for all files of the run.
// Enter skips the file and Escape cancels the run: neither destroys anything.
class ExistingFileDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ExistingFileDialog(const ExistingFileQuestion &question, QWidget *parent = nullptr);

    ExistingFileAnswer answer() const;

private:
    void addChoice(QLayout &row, const QString &text, const QString &objectName, ExistingFileChoice choice);

    QCheckBox *applyToAll_;
    ExistingFileChoice choice_ = ExistingFileChoice::Cancel;
};

} // namespace vendrel
