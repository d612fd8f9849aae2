// The file-open dialog of the import screen: a title from the caller, an initial file name
// and one filter for the extension ("txtファイル (*.txt)"). Cancel leaves the path as it was.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// path receives the chosen file; unchanged when nothing was chosen.
void showFileOpen(QWidget *dialogParent, QString &path, const QString &title,
                  const QString &initialName, const QString &ext);

// The filter text for an extension: "txt" -> "txtファイル (*.txt)".
QString fileOpenFilter(const QString &ext);

// The dialog itself, replaceable in tests: returns the chosen file or std::nullopt on cancel.
using FileOpenDialog = std::function<std::optional<QString>(
    QWidget *parent, const QString &title, const QString &initialName, const QString &filter)>;
// nullptr restores the real dialog.
void setFileOpenDialog(FileOpenDialog dialog);
