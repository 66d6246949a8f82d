#include "shell/PaneFonts.h"

#include <array>
#include <string>
#include <vector>

namespace {

// Cards come in any script, and the dialog's font draws Western ones only. Windows
// links its interface face to fonts of the other scripts, so there the first face
// draws everything. Wine's edit control draws only the face's own glyphs (adding
// Arabic and Hebrew of its own), and no one face holds every script: one holds
// polytonic Greek and emoji, another Chinese, Japanese and Korean. So each pane
// takes, for the text it shows, the first face that has all of its characters.
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

// Characters of `text` that `font` has no glyph for. Line breaks and characters
// beyond the Basic Multilingual Plane, which the call cannot tell, do not count.
std::size_t missingGlyphs(HDC dc, HFONT font, const std::wstring& text) {
    std::wstring drawn;
    for (const wchar_t c : text) {
        if (c >= 0x20 && (c < 0xD800 || c > 0xDFFF)) drawn += c;
    }
    if (drawn.empty()) return 0;
    std::vector<WORD> glyphs(drawn.size());
    const HGDIOBJ old = SelectObject(dc, font);
    const DWORD done = GetGlyphIndicesW(dc, drawn.c_str(), static_cast<int>(drawn.size()),
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
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(pane)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(pane, text.data(), static_cast<int>(text.size()))));
    HFONT best = fonts.front();
    std::size_t fewest = static_cast<std::size_t>(-1);
    HDC dc = GetDC(pane);
    for (const HFONT font : fonts) {
        const std::size_t missing = missingGlyphs(dc, font, text);
        if (missing < fewest) {
            best = font;
            fewest = missing;
        }
        if (missing == 0) break;
    }
    ReleaseDC(pane, dc);
    if (reinterpret_cast<HFONT>(SendMessageW(pane, WM_GETFONT, 0, 0)) != best) {
        SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(best), TRUE);
    }
}
