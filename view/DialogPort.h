#pragma once
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chart/ProgressData.h"
#include "model/AnswerLetters.h"
#include "platform/WindowPort.h"

// What is wrong with one field of a form the user filled in.
struct FieldProblem {
    std::size_t field;
    std::string message;
};
// The days of boxes 1 to 5 as typed, and the core's verdict on them.
using BoxDaysTexts = std::array<std::string, 5>;
using BoxDaysCheck = std::function<std::optional<FieldProblem>(const BoxDaysTexts&)>;

// The main dialog's controls and menu, one platform call per operation. The core
// decides what state each piece should be in; this only puts it there or reads it.
// A control id that names no control makes the control calls do nothing.
class DialogPort : public WindowPort {
public:
    // False only for an existing control that is disabled.
    virtual bool isControlEnabled(int id) = 0;
    virtual void enableControl(int id, bool enable) = 0;
    virtual void setControlText(int id, const std::string& text) = 0;
    virtual std::string controlText(int id) = 0;
    virtual void setFocus(int id) = 0;

    // Buttons: check state, pushed highlight, and a click the platform turns into
    // the button's command, delivered before click() returns.
    virtual void setCheck(int id, bool checked) = 0;
    virtual bool isChecked(int id) = 0;
    virtual void setPushed(int id, bool pushed) = 0;
    virtual void click(int id) = 0;

    // Multi-line edits.
    virtual bool isModified(int id) = 0;
    virtual void setReadOnly(int id, bool readOnly) = 0;

    // Menu items by command id; pop-ups of the menu bar by position.
    virtual void enableMenuItem(int id, bool enable) = 0;
    virtual void checkMenuItem(int id, bool check) = 0;
    // Checks `id` with a bullet and unchecks the other items from `first` to `last`.
    virtual void checkMenuRadioItem(int first, int last, int id) = 0;
    virtual bool isMenuItemChecked(int id) = 0;
    virtual void enableMenuPopup(int position, bool enable) = 0;
    virtual void drawMenuBar() = 0;

    // The control of this dialog that has the keyboard focus, or 0.
    virtual int focusedControl() = 0;
    // An edit's own undo of what was typed into it.
    virtual void undoTyping(int id) = 0;
    // The modal Find dialog over this one, starting with `text` selected. True,
    // with the text, when the user chose Find Next.
    virtual bool askFindText(std::string& text) = 0;
    // The modal Schedule dialog, its fields filled with `texts`. OK asks `check`;
    // while it finds a problem, the message is shown and the dialog stays. True,
    // with the texts, once OK was accepted.
    virtual bool askBoxDays(BoxDaysTexts& texts, const BoxDaysCheck& check) = 0;
    // The modal question before saving over a card file another program changed,
    // showing `text`: gives ids::mergeButton (the default), ids::replaceButton or
    // IDCANCEL (also when it was closed).
    virtual int askChangedFile(const std::string& text) = 0;

    // The Progress window beside this dialog, drawing `data`: opened, or brought to
    // the front when it is open already.
    virtual void showProgress(const ProgressData& data) = 0;
    // Whether the user still has it open; closing it is the user's alone.
    virtual bool isProgressOpen() = 0;
    // Redraws it with `data` without bringing it to the front.
    virtual void refreshProgress(const ProgressData& data) = 0;

    // Lists the recent card files at the end of the File pop-up, below a separator
    // (ids::recentFilesSeparator) that shows only when there are any: the label at
    // index i gets command ids::recentFile1 + i. The ones listed before go.
    virtual void showRecentFiles(const std::vector<std::string>& labels) = 0;

    // The button that Enter presses, drawn as the default one.
    virtual void setDefaultButton(int id) = 0;
    // The typed answer's entry, its label and its result line under the question
    // pane, or none of them and the dialog as without them.
    virtual void showAnswerEntry(bool shown) = 0;
    // The result line's text, with the letters of `marked` (bytes of `text`) marked
    // so that they can be told apart in any colours, high contrast among them.
    virtual void showResultLine(const std::string& text, const std::vector<TextSpan>& marked) = 0;
};
