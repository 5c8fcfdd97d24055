#include "gui/HelpWindow.h"

#include "platform/QtPrompt.h"
#include "platform/QtText.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The browser's HTML reader knows only named anchors (<a name>), and keeps
// one only where text follows it in the same paragraph, while the manual
// marks its topics with ids, often on elements that hold no text of their
// own (a section, a table row). Every element with an id gets a named
// anchor of the same name: inside it where it holds text, else inside the
// first element within it that does (a section's heading, a row's first
// cell).
QString NamedAnchor(const QString& name) {
    return QStringLiteral("<a name=\"%1\"></a>").arg(name);
}

QString WithNamedAnchors(const QString& html) {
    static const QRegularExpression element(
        QString::fromUtf8(R"re(<(\w+)\b[^>]*\sid\s*=\s*"([^"]+)"[^>]*>)re"));
    static const QRegularExpression holder(
        QString::fromUtf8(R"re(<(h[1-6]|p|td|th|li|dt|dd)\b[^>]*>)re"));
    static const QStringList containers = {
        QStringLiteral("section"), QStringLiteral("div"),   QStringLiteral("nav"),
        QStringLiteral("header"),  QStringLiteral("main"),  QStringLiteral("article"),
        QStringLiteral("tr"),      QStringLiteral("table"), QStringLiteral("ul"),
        QStringLiteral("ol"),      QStringLiteral("dl"),    QStringLiteral("footer")};
    QString out;
    out.reserve(html.size() + html.size() / 8);
    qsizetype done = 0;
    for (QRegularExpressionMatch match = element.match(html); match.hasMatch();
         match = element.match(html, done)) {
        out += html.mid(done, match.capturedEnd() - done);
        done = match.capturedEnd();
        if (containers.contains(match.captured(1).toLower())) {
            const QRegularExpressionMatch inner = holder.match(html, done);
            if (inner.hasMatch()) {
                out += html.mid(done, inner.capturedEnd() - done);
                done = inner.capturedEnd();
                // The holder's own id, passed over by the next search.
                const QRegularExpressionMatch own = element.match(inner.captured(0));
                if (own.hasMatch()) {
                    out += NamedAnchor(own.captured(2));
                }
            }
        }
        out += NamedAnchor(match.captured(2));
    }
    out += html.mid(done);
    return out;
}

// The manual's own browser: it reads the manual's file with the anchors
// its topics need.
class ManualBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
            QFile file(name.toLocalFile());
            if (file.open(QIODevice::ReadOnly)) {
                return WithNamedAnchors(QString::fromUtf8(file.readAll()));
            }
        }
        return QTextBrowser::loadResource(type, name);
    }
};

// Where an anchor of that name begins in the document; -1 for none.
int AnchorPosition(const QTextDocument& document, const QString& name) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().anchorNames().contains(name)) {
                return fragment.position();
            }
        }
    }
    return -1;
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback, const QWidget* widget) {
    return QIcon::fromTheme(QLatin1String(name), widget->style()->standardIcon(fallback));
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setWindowTitle(tr("Demla Help"));
    setObjectName(QStringLiteral("helpWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/demla.svg")));

    browser_ = new ManualBrowser(this);
    browser_->setObjectName(QStringLiteral("manual"));
    browser_->setAccessibleName(tr("Manual"));
    browser_->setOpenExternalLinks(true);
    // A caret that the keyboard moves, so that reading starts at the topic.
    browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);

    back_ = new QAction(ThemeIcon("go-previous", QStyle::SP_ArrowBack, this), tr("&Back"), this);
    back_->setShortcuts(QKeySequence::Back);
    back_->setToolTip(tr("Back (Alt+Left)"));
    back_->setEnabled(false);
    forward_ =
        new QAction(ThemeIcon("go-next", QStyle::SP_ArrowForward, this), tr("&Forward"), this);
    forward_->setShortcuts(QKeySequence::Forward);
    forward_->setToolTip(tr("Forward (Alt+Right)"));
    forward_->setEnabled(false);
    home_ = new QAction(ThemeIcon("go-home", QStyle::SP_DirHomeIcon, this), tr("&Home"), this);
    home_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    home_->setToolTip(tr("The manual's contents (Alt+Home)"));
    find_ = new QAction(ThemeIcon("edit-find", QStyle::SP_FileDialogContentsView, this),
                        tr("&Find..."), this);
    find_->setShortcut(QKeySequence::Find);
    find_->setToolTip(tr("Find in the manual (Ctrl+F)"));
    openInBrowser_ = new QAction(tr("&Open in Browser"), this);
    openInBrowser_->setToolTip(tr("Shows this page in the desktop's web browser"));

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, this, [this] { ShowTopic(QString()); });
    connect(find_, &QAction::triggered, this, &HelpWindow::ShowFindBar);
    connect(openInBrowser_, &QAction::triggered, this, &HelpWindow::OpenInBrowser);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    // Back and Forward bring the caret along to the place they show.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        if (!url.fragment().isEmpty()) {
            GoToAnchor(url.fragment());
        }
    });

    toolBar_ = new QToolBar(tr("Help tool bar"), this);
    toolBar_->setObjectName(QStringLiteral("helpToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (QAction* action : {back_, forward_, home_, find_}) {
        toolBar_->addAction(action);
    }
    toolBar_->addSeparator();
    toolBar_->addAction(openInBrowser_);
    for (QAction* action : {back_, forward_, home_, find_, openInBrowser_}) {
        if (QWidget* button = toolBar_->widgetForAction(action)) {
            button->setAccessibleName(
                action->text().remove(QLatin1Char('&')).remove(QStringLiteral("...")));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);

    // The find bar below the page, hidden until Find opens it.
    findBar_ = new QWidget(this);
    findBar_->setObjectName(QStringLiteral("findBar"));
    auto* findLabel = new QLabel(tr("F&ind:"), findBar_);
    findField_ = new QLineEdit(findBar_);
    findField_->setAccessibleName(tr("Find in manual"));
    findField_->setMaximumWidth(findField_->fontMetrics().averageCharWidth() * 40);
    findLabel->setBuddy(findField_);
    auto* next = new QPushButton(tr("&Next"), findBar_);
    next->setAccessibleName(tr("Find next"));
    next->setToolTip(tr("Find next (F3)"));
    auto* previous = new QPushButton(tr("&Previous"), findBar_);
    previous->setAccessibleName(tr("Find previous"));
    previous->setToolTip(tr("Find previous (Shift+F3)"));
    auto* closeFind = new QToolButton(findBar_);
    closeFind->setIcon(ThemeIcon("window-close", QStyle::SP_DialogCloseButton, this));
    closeFind->setAccessibleName(tr("Close find bar"));
    closeFind->setToolTip(tr("Close find bar (Escape)"));
    findStatus_ = new QLabel(findBar_);
    findStatus_->setAccessibleName(tr("Find result"));
    for (QPushButton* button : {next, previous}) {
        button->setAutoDefault(false);
    }
    auto* findRow = new QHBoxLayout(findBar_);
    findRow->setContentsMargins(6, 2, 6, 2);
    findRow->addWidget(findLabel);
    findRow->addWidget(findField_, 1);
    findRow->addWidget(next);
    findRow->addWidget(previous);
    findRow->addWidget(findStatus_);
    findRow->addStretch();
    findRow->addWidget(closeFind);
    findBar_->hide();

    connect(findField_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
    connect(findField_, &QLineEdit::textEdited, this, [this] { findStatus_->clear(); });
    connect(next, &QPushButton::clicked, this, [this] { FindNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(closeFind, &QToolButton::clicked, this, &HelpWindow::HideFindBar);
    auto* findNext = new QShortcut(QKeySequence::FindNext, this);
    connect(findNext, &QShortcut::activated, this, [this] { FindNext(false); });
    auto* findPrevious = new QShortcut(QKeySequence::FindPrevious, this);
    connect(findPrevious, &QShortcut::activated, this, [this] { FindNext(true); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &HelpWindow::Escape);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(browser_, 1);
    column->addWidget(findBar_);
    setCentralWidget(central);

    // A reading width where the screen has room for it.
    QSize size(860, 720);
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    resize(size);
}

QString HelpWindow::ManualPath() {
    const QString folder = QCoreApplication::applicationDirPath();
    // The build tree keeps the manual beside the program and one folder
    // above its test programs; an installation keeps it with the
    // documentation.
    const QStringList candidates = {
        folder + QStringLiteral("/help/index.html"),
        folder + QStringLiteral("/../share/doc/demla/index.html"),
        folder + QStringLiteral("/../help/index.html"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return QString();
}

bool HelpWindow::ShowTopic(const QString& topic) {
    const QString path = ManualPath();
    if (path.isEmpty()) {
        return false;
    }
    manual_ = QUrl::fromLocalFile(path);
    QUrl url = manual_;
    if (browser_->source().isEmpty() ||
        browser_->source().adjusted(QUrl::RemoveFragment) != manual_) {
        browser_->setSource(manual_);
    }
    if (!topic.isEmpty() && AnchorPosition(*browser_->document(), topic) >= 0) {
        url.setFragment(topic);
    }
    if (browser_->source() != url) {
        browser_->setSource(url);
    }
    if (url.fragment().isEmpty()) {
        browser_->moveCursor(QTextCursor::Start);
        browser_->ensureCursorVisible();
    } else {
        GoToAnchor(url.fragment());
    }
    return true;
}

QString HelpWindow::CurrentTopic() const {
    return browser_->source().fragment();
}

bool HelpWindow::HasAnchor(const QString& name) const {
    return AnchorPosition(*browser_->document(), name) >= 0;
}

void HelpWindow::GoToAnchor(const QString& name) {
    const int position = AnchorPosition(*browser_->document(), name);
    if (position < 0) {
        return;
    }
    QTextCursor cursor(browser_->document());
    cursor.setPosition(position);
    browser_->setTextCursor(cursor);
    browser_->scrollToAnchor(name);
}

bool HelpWindow::FindNext(bool backward) {
    const QString text = findField_->text();
    if (text.isEmpty()) {
        ShowFindBar();
        return false;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        // Round the end of the manual to its other end.
        const QTextCursor kept = browser_->textCursor();
        browser_->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
        found = browser_->find(text, flags);
        if (!found) {
            browser_->setTextCursor(kept);
        }
    }
    findStatus_->setText(found ? QString() : tr("Not found"));
    return found;
}

void HelpWindow::ShowFindBar() {
    findBar_->show();
    findField_->setFocus();
    findField_->selectAll();
}

void HelpWindow::HideFindBar() {
    findBar_->hide();
    findStatus_->clear();
    browser_->setFocus();
}

void HelpWindow::Escape() {
    if (findBar_->isVisible()) {
        HideFindBar();
    } else {
        close();
    }
}

void HelpWindow::OpenInBrowser() {
    const QUrl url = browser_->source().isEmpty() ? manual_ : browser_->source();
    if (url.isEmpty() || !QDesktopServices::openUrl(url)) {
        QtPrompt(this).Show("Demla Help",
                            "No web browser was found. The manual is at " +
                                PathFromQt(url.toLocalFile()),
                            PromptIcon::Exclamation);
    }
}
