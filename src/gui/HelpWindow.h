#pragma once

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolBar;
class QWidget;

// "Demla Help": the manual in a window of the program's own, so that help
// works where no web browser is installed. Back, Forward and Home walk the
// pages read; Find looks for a text in the manual; "Open in Browser" hands
// the page shown to the desktop's browser.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The manual: help/index.html beside the program (the build tree), else
    // the installed documentation beside the program's folder; empty when
    // there is none.
    static QString ManualPath();

    // Shows the manual at a topic's anchor, or at its top for none or for a
    // topic the manual has no anchor for; false when the manual is missing.
    bool ShowTopic(const QString& topic);
    // The anchor shown, empty at the top of the manual.
    QString CurrentTopic() const;
    // Whether the manual shown holds an anchor of that name.
    bool HasAnchor(const QString& name) const;

    // Finds the next (or the previous) place of the find field's text,
    // going round the manual's end; false, with "Not found" shown, when the
    // manual does not hold it.
    bool FindNext(bool backward = false);
    void ShowFindBar();
    void HideFindBar();
    void OpenInBrowser();

    QTextBrowser* Browser() const { return browser_; }
    QLineEdit* FindField() const { return findField_; }
    QWidget* FindBar() const { return findBar_; }
    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }
    QAction* HomeAction() const { return home_; }
    QAction* FindAction() const { return find_; }
    QAction* BrowserAction() const { return openInBrowser_; }

private:
    // Puts the caret at an anchor and the anchor at the top of the view, so
    // that reading (and a screen reader) starts there.
    void GoToAnchor(const QString& name);
    void Escape();

    QUrl manual_;
    QTextBrowser* browser_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findField_ = nullptr;
    QLabel* findStatus_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* home_ = nullptr;
    QAction* find_ = nullptr;
    QAction* openInBrowser_ = nullptr;
};
