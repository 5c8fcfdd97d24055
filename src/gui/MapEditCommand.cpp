#include "gui/MapEditCommand.h"

#include "gui/Documents.h"

MapEditCommand::MapEditCommand(const QString& name, DocumentEntry& entry, MapEditState before,
                               MapEditState after)
    : QUndoCommand(name), entry_(entry), before_(std::move(before)), after_(std::move(after)) {}

void MapEditCommand::undo() {
    RestoreEditState(entry_.Document(), before_);
    done_ = false;
    entry_.MapsChanged();
}

void MapEditCommand::redo() {
    // Pushed after the edit was made: the first redo has nothing to do.
    if (done_) {
        return;
    }
    RestoreEditState(entry_.Document(), after_);
    done_ = true;
    entry_.MapsChanged();
}
