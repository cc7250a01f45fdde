#pragma once
// The colour picker the pages open for one colour (a DPI stage's colour): a palette, a
// preview, R, G and B fields and eight preset colours. It answers the chosen colour
// (0x00BBGGRR) when closed with OK, nothing when closed any other way; black (0) is a
// colour like any other.

#include "ui/base/Dialog.h"

#include <optional>

namespace corvane::pages {

// The window title of the colour picker; the main window closes it by this title.
inline constexpr const char* kPaletteTitle = "MousePaletteDlg";

class MousePaletteDlg : public ui::Dialog {
public:
    static constexpr int kWidth = 330;
    static constexpr int kHeight = 320;
    // Control ids.
    static constexpr int kCloseId = 1;
    static constexpr int kPaletteId = 2;
    static constexpr int kPreviewId = 3;
    static constexpr int kFirstLabelId = 4;   // "R:", "G:", "B:" (4, 5, 6)
    static constexpr int kFirstFieldId = 7;   // R, G, B (7, 8, 9)
    static constexpr int kFirstPresetId = 10; // eight preset colours (10 .. 17)
    static constexpr int kOkId = 18;
    static constexpr int kPresetCount = 8;

    explicit MousePaletteDlg(int initialColour);

    // Creates the window centred over parent's window and runs it modally; returns the
    // chosen colour, or nothing when it was closed without OK (close button, Escape, or
    // the main window closing its pop-ups).
    std::optional<int> exec(QWidget* parent);

    // The colour shown now.
    int colour() const { return m_colour; }

protected:
    int OnWindowMessage(int message, int wParam, int lParam) override;
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The fields, the preview and (unless it is the source) the palette show the colour.
    void showColour(int colour, bool moveMarker);
    int colourOfFields() const;

    int m_colour;
    bool m_accepted = false;
};

// Opens the picker over parent with `initial` and returns its answer.
std::optional<int> pickColour(QWidget* parent, int initial);

} // namespace corvane::pages
