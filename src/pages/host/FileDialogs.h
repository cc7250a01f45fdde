#pragma once
// The file dialogs the window asks for a file to import or a place to export to. The
// program uses the desktop's dialogs (QtFileDialogs); tests answer them themselves.

#include <QString>

class QWidget;

namespace corvane::pages {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An existing file to read; empty when the user cancelled. filter: "Name (*.xml)".
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Where to write, starting from `suggested`; the dialog asks before replacing a file.
    // Empty when the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                 const QString& filter) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QString& filter) override;
};

} // namespace corvane::pages
