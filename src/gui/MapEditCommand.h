#pragma once

#include "view/MapCommands.h"

#include <QUndoCommand>

class DocumentEntry;

// One in-place edit of a map, taken back and done again by putting back
// the document's state before or after it.
class MapEditCommand : public QUndoCommand {
public:
    // after is the state the edit left; the edit itself is already done.
    MapEditCommand(const QString& name, DocumentEntry& entry, MapEditState before,
                   MapEditState after);

    void undo() override;
    void redo() override;

private:
    DocumentEntry& entry_;
    MapEditState before_;
    MapEditState after_;
    bool done_ = true;
};
