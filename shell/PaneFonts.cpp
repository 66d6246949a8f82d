#include "shell/PaneFonts.h"

#include <array>
#include <string>
#include <vector>

#include "platform/WideText.h"
#include "shell/WindowText.h"
#include "view/PaneFace.h"

namespace {

// The dialog's font draws Western scripts only. Windows links its interface face to
// fonts of the other scripts, so there the first face draws everything. Wine's
// edit control draws only the face's own glyphs (adding Arabic and Hebrew of its
// own): one face holds polytonic Greek and emoji, another Chinese, Japanese and
// Korean, and choosePaneFace() picks between them.
constexpr std::array<const wchar_t*, 4> paneFaces = {L"Segoe UI", L"DejaVu Sans",
                                                     L"WenQuanYi Zen Hei", L"Tahoma"};

int CALLBACK noteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool isInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, noteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The installed faces, best first, as tall as the dialog's font so that the layout
// still fits. Made once and never deleted: panes draw with them until the end.
const std::vector<HFONT>& installedFaces(HWND pane) {
    static const std::vector<HFONT> fonts = [pane] {
        LOGFONTW dialogFont{};
        const auto current =
            reinterpret_cast<HFONT>(SendMessageW(GetParent(pane), WM_GETFONT, 0, 0));
        if (!current || !GetObjectW(current, sizeof dialogFont, &dialogFont)) {
            dialogFont.lfHeight = -12;
        }
        std::vector<HFONT> made;
        HDC dc = GetDC(pane);
        for (const wchar_t* face : paneFaces) {
            // A face the system lacks would be replaced by one of its own choosing.
            if (!made.empty() && !isInstalled(dc, face)) continue;
            made.push_back(CreateFontW(dialogFont.lfHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
        }
        ReleaseDC(pane, dc);
        return made;
    }();
    return fonts;
}

// Characters of `text` that `font` has no glyph for.
std::size_t missingGlyphs(HDC dc, HFONT font, const std::u16string& drawn) {
    if (drawn.empty()) return 0;
    std::vector<WORD> glyphs(drawn.size());
    const HGDIOBJ old = SelectObject(dc, font);
    const DWORD done = GetGlyphIndicesW(dc, wide(drawn), static_cast<int>(drawn.size()),
                                        glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    if (done == GDI_ERROR) return drawn.size();
    std::size_t missing = 0;
    for (const WORD glyph : glyphs) missing += glyph == 0xFFFF ? 1 : 0;
    return missing;
}

}  // namespace

void fitPaneFont(HWND pane) {
    const std::vector<HFONT>& fonts = installedFaces(pane);
    const std::u16string drawn = charactersToDraw(windowText(pane));
    HDC dc = GetDC(pane);
    const HFONT best = fonts[choosePaneFace(
        fonts.size(), [&](std::size_t face) { return missingGlyphs(dc, fonts[face], drawn); })];
    ReleaseDC(pane, dc);
    if (reinterpret_cast<HFONT>(SendMessageW(pane, WM_GETFONT, 0, 0)) != best) {
        SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(best), TRUE);
    }
}
