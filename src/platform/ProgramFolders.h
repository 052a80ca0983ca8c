#pragma once

#include <QString>
#include <functional>

namespace vendrel {

// Where Vendrel finds the files it ships and keeps the files it writes.
struct ProgramFolders {
    QString program; // the executable's folder
    QString shared;  // the help file and the demo, read only
    QString data;    // profiles, saved logs, trusted certificates
    // Profiles left beside the program once the data went to the user's
    // folder; empty when both are the same folder.
    QString olderProfiles;

    QString helpFile() const;

    // Where the local pane opens: the program's folder when it keeps its
    // data beside itself, else the user's home.
    QString localStartFolder() const;

    // Everything beside the program: a build folder, or a test's folder.
    static ProgramFolders beside(const QString &programFolder);

    // A program folder that holds its help file is a build or unpacked copy,
    // which keeps its data beside itself when it can be written to. An
    // installed program finds its files in ../share/vendrel. Any program
    // that cannot keep its data beside itself keeps it in
    // <userDataHome>/vendrel.
    static ProgramFolders choose(const QString &programFolder, const QString &userDataHome,
                                 const std::function<bool(const QString &folder)> &isWritable);
};

// Finds the folders for the running program and makes the data folder,
// readable by its owner only, when it is new.
ProgramFolders programFoldersFor(const QString &programFolder);

} // namespace vendrel
