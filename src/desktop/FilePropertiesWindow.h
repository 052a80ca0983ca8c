#pragma once

#include <QDialog>

namespace vendrel {

// Our own properties sheet of a local file, for desktops whose file manager
// offers none: name, type, place, size, dates, owner and rights.
class FilePropertiesWindow final : public QDialog {
    Q_OBJECT
public:
    explicit FilePropertiesWindow(const QString &path, QWidget *parent = nullptr);
};

} // namespace vendrel
