#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

class CommandHandlers;
class MapView;

// The pictures of a map view that leave the program: files and the
// clipboard, of this view or of every shown map view drawn over one another.
class MapExport {
public:
    explicit MapExport(MapView& view) : view_(view) {}

    // The picture in a kind of MakePicture; nothing after a message.
    std::optional<std::string> Picture(std::string_view kind, bool composite);
    // Writes the picture to a file (the kind from its extension); false
    // after a message.
    bool ExportTo(const QString& path);
    // Puts the picture on the clipboard: as an image, or as a metafile
    // with an SVG copy beside it.
    bool CopyToClipboard(bool metafile, bool composite);
    // Asks for a file name, proposing the document's name with the
    // extension of the export command, and writes the picture there.
    void AskAndExport(int command);

    // File -> Export and Edit -> Copy, with their keys.
    void AddCommands(CommandHandlers& commands);

private:
    MapView& view_;
};
