#pragma once

#include "core/Picture.h"
#include "core/Prompt.h"

#include <string>
#include <string_view>

// The logic of a dialog field guarded by a picture. Literal letters match
// in upper case only: an entry that passes is used as typed, and the
// printer of format codes knows only "F", "E" and "G".
//
// An empty field may be typed through but is not a valid entry.
class PictureValidator {
public:
    PictureValidator(std::string_view picture, std::string errorText)
        : picture_(picture), errorText_(std::move(errorText)) {}
    virtual ~PictureValidator() = default;

    // True while the text can still become a valid entry: a change that
    // makes this false is refused as it is typed.
    bool IsValidInput(std::string_view text) const {
        return picture_.Match(text) != PictureMatch::Impossible;
    }

    // True for a complete, valid entry.
    bool IsValid(std::string_view text) const {
        return picture_.Match(text) == PictureMatch::Complete;
    }

    // Explains the expected form, with examples.
    void Error(Prompt& prompt) const {
        prompt.Show(kApplicationName, errorText_, PromptIcon::Exclamation);
    }

    const Picture& GetPicture() const { return picture_; }

private:
    Picture picture_;
    std::string errorText_;
};
