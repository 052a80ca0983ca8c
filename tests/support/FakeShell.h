#pragma once

#include "desktop/Shell.h"

#include <QList>
#include <QString>

namespace vendrel::test {

// A shell that records what it was asked to do; a test can make opening fail.
class FakeShell final : public Shell {
public:
    bool openDocument(const QString &path) override
    {
        openedDocuments.append(path);
        return openSucceeds;
    }
    void showProperties(const QString &path) override { propertiesShown.append(path); }
    void findFiles(const QString &startFolder) override { searchesStarted.append(startFolder); }

    bool openSucceeds = true;
    QList<QString> openedDocuments;
    QList<QString> propertiesShown;
    QList<QString> searchesStarted;
};

} // namespace vendrel::test
