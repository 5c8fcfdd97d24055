#include "gui/Documents.h"

#include "platform/QtText.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>

class DocumentEntry::BusyScope {
public:
    explicit BusyScope(DocumentEntry& entry) : entry_(entry) { ++entry_.busy_; }
    ~BusyScope() { --entry_.busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DocumentEntry& entry_;
};

DocumentEntry::DocumentEntry(QWidget* owner) : prompt_(owner), document_(prompt_) {
    // Edits taken back to the state last saved leave nothing to save.
    connect(&undo_, &QUndoStack::cleanChanged, this, &DocumentEntry::ModifiedChanged);
}

DocumentEntry::~DocumentEntry() = default;

bool DocumentEntry::Load(const std::string& path) {
    BusyScope busy(*this);
    loaded_ = document_.Open(path);
    return loaded_;
}

NewMapResult DocumentEntry::LoadNew(const NewMapRequest& request, const NewMapExtras& extras) {
    BusyScope busy(*this);
    const NewMapResult result = CreateNewMap(document_, request, extras);
    loaded_ = result != NewMapResult::Failed;
    return result;
}

QString DocumentEntry::Title() const {
    return QFileInfo(Path()).fileName();
}

QString DocumentEntry::Path() const {
    return PathToQt(document_.GetPath());
}

void DocumentEntry::AddView(DocumentView* view) {
    views_.push_back(view);
}

void DocumentEntry::RemoveView(DocumentView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

bool DocumentEntry::IsDirty() const {
    return std::any_of(views_.begin(), views_.end(),
                       [](const DocumentView* view) { return view->IsDirty(); });
}

bool DocumentEntry::MapsDirty() const {
    return MapsModified() &&
           std::any_of(views_.begin(), views_.end(),
                       [](const DocumentView* view) { return view->Kind() == ViewKind::Map; });
}

DocumentView* DocumentEntry::SavingView(DocumentView* active) const {
    if (active != nullptr && std::find(views_.begin(), views_.end(), active) != views_.end()) {
        return active;
    }
    for (DocumentView* view : views_) {
        if (view->Kind() == ViewKind::Map) {
            return view;
        }
    }
    return views_.empty() ? nullptr : views_.front();
}

bool DocumentEntry::Save(DocumentView* through) {
    if (through == nullptr || IsBusy()) {
        return false;
    }
    // The other kind of view reads the file again after the save: its own
    // changes would go without a word.
    const bool otherTexts =
        std::any_of(views_.begin(), views_.end(), [through](const DocumentView* view) {
            return view != through && view->Kind() == ViewKind::Text && view->IsDirty();
        });
    if (through->Kind() == ViewKind::Text && MapsDirty() &&
        prompt_.AskWithDefault(kApplicationName,
                               "The map has changes that are not saved. Saving the text "
                               "replaces them. Save the text anyway?",
                               PromptButtons::YesNo, PromptIcon::Warning,
                               PromptAnswer::No) != PromptAnswer::Yes) {
        return false;
    }
    if (otherTexts && prompt_.AskWithDefault(kApplicationName,
                                             "The text has changes that are not saved. Saving "
                                             "the map replaces them. Save the map anyway?",
                                             PromptButtons::YesNo, PromptIcon::Warning,
                                             PromptAnswer::No) != PromptAnswer::Yes) {
        return false;
    }
    bool saved = false;
    {
        BusyScope busy(*this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        saved = through->Commit();
        QApplication::restoreOverrideCursor();
    }
    if (saved) {
        if (through->Kind() == ViewKind::Map) {
            undo_.setClean();
        }
        FileWrittenBy(through);
        emit PathChanged(Path());
        emit TitleChanged();
    }
    return saved;
}

void DocumentEntry::FileWrittenBy(DocumentView* writer) {
    const bool mapWrote = writer != nullptr && writer->Kind() == ViewKind::Map;
    bool otherMaps = false;
    for (DocumentView* view : std::vector<DocumentView*>(views_)) {
        if (view == writer) {
            continue;
        }
        if (view->Kind() == ViewKind::Text) {
            view->FileWritten();
        } else {
            otherMaps = true;
        }
    }
    if (otherMaps || !mapWrote) {
        Reload();
    }
}

void DocumentEntry::Reload() {
    if (IsBusy()) {
        // A box of this document's load or save is open: reload after it.
        reloadPending_ = true;
        return;
    }
    do {
        reloadPending_ = false;
        {
            BusyScope busy(*this);
            loaded_ = document_.Open();
        }
        undo_.clear();
        emit Reloaded();
        for (DocumentView* view : std::vector<DocumentView*>(views_)) {
            if (view->Kind() == ViewKind::Map) {
                view->DocumentReloaded();
            }
        }
    } while (reloadPending_);
}

MonitorReload DocumentEntry::ReloadForMonitor() {
    if (IsBusy()) {
        return {};
    }
    const bool keepEdits = MapsDirty();
    MonitorReload result;
    {
        BusyScope busy(*this);
        result = ReloadWithoutQuestions(document_, keepEdits);
    }
    if (!result.loaded) {
        // The document, its undo stack and its marks stay as they were.
        return result;
    }
    ShowReloaded(keepEdits);
    return result;
}

bool DocumentEntry::Revert() {
    if (IsBusy()) {
        return false;
    }
    {
        BusyScope busy(*this);
        // A fresh document: an in-place reload would keep what the setup
        // file does not say, edits included.
        ChartDocument fresh(prompt_);
        if (!fresh.Open(document_.GetPath())) {
            return false;
        }
        document_.TakeLoaded(std::move(fresh));
    }
    ShowReloaded(false);
    return true;
}

void DocumentEntry::ShowReloaded(bool keptEdits) {
    loaded_ = true;
    // Kept edits were made on the data read before: they stay, but are not
    // taken back one by one.
    undo_.clear();
    if (keptEdits) {
        undo_.resetClean();
    }
    emit Reloaded();
    for (DocumentView* view : std::vector<DocumentView*>(views_)) {
        if (view->Kind() == ViewKind::Map) {
            view->DocumentReloaded();
        }
    }
    if (keptEdits) {
        MapsChanged();
    }
}

void DocumentEntry::MapsChanged(DocumentView* /*by*/) {
    for (DocumentView* view : views_) {
        if (view->Kind() == ViewKind::Map) {
            view->AppearanceChanged();
        }
    }
}

void DocumentEntry::RedrawMaps() {
    for (DocumentView* view : views_) {
        if (view->Kind() == ViewKind::Map) {
            view->AppearanceChanged();
            view->Widget()->repaint();
        }
    }
}

DocumentEntry* DocumentManager::Find(const QString& path) const {
    for (const auto& entry : documents_) {
        if (SameFile(entry->Path(), path)) {
            return entry.get();
        }
    }
    return nullptr;
}

DocumentEntry* DocumentManager::Open(const QString& path, bool forText) {
    auto entry = std::make_unique<DocumentEntry>(owner_);
    if (!entry->Load(PathFromQt(path)) && !forText) {
        return nullptr;
    }
    documents_.push_back(std::move(entry));
    return documents_.back().get();
}

DocumentEntry* DocumentManager::OpenNew(const NewMapRequest& request, const NewMapExtras& extras,
                                        bool& written) {
    auto entry = std::make_unique<DocumentEntry>(owner_);
    const NewMapResult result = entry->LoadNew(request, extras);
    if (result == NewMapResult::Failed) {
        return nullptr;
    }
    written = result == NewMapResult::Written;
    documents_.push_back(std::move(entry));
    return documents_.back().get();
}

void DocumentManager::Discard(DocumentEntry* entry) {
    const auto found =
        std::find_if(documents_.begin(), documents_.end(),
                     [entry](const std::unique_ptr<DocumentEntry>& e) { return e.get() == entry; });
    if (found != documents_.end()) {
        // Deleted once control is back in the event loop: the view that
        // asked may still be on the stack.
        found->release()->deleteLater();
        documents_.erase(found);
    }
}

bool SameFile(const QString& a, const QString& b) {
    const QFileInfo first(a);
    const QFileInfo second(b);
    const QString canonicalA = first.canonicalFilePath();
    const QString canonicalB = second.canonicalFilePath();
    if (!canonicalA.isEmpty() && !canonicalB.isEmpty()) {
        return canonicalA == canonicalB;
    }
    return first.absoluteFilePath() == second.absoluteFilePath();
}
