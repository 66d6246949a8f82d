#pragma once
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "view/ControlIds.h"
#include "view/DialogPort.h"

// The main dialog as it stands right after creation, with every control's and menu
// item's state kept so tests can look at it. A click on a box radio button checks it
// and unchecks the other four, as the auto radio buttons do, and then delivers the
// button's command through `commandSink` before click() returns, as the platform
// does.
class FakeDialog : public DialogPort {
public:
    struct Control {
        std::string text;
        bool enabled = true;
        bool checked = false;
        bool pushed = false;
        bool modified = false;
        bool readOnly = false;
        bool operator==(const Control& o) const {
            return text == o.text && enabled == o.enabled && checked == o.checked &&
                   pushed == o.pushed && modified == o.modified && readOnly == o.readOnly;
        }
    };
    struct MenuItem {
        bool enabled = true;
        bool checked = false;
        bool operator==(const MenuItem& o) const {
            return enabled == o.enabled && checked == o.checked;
        }
    };

    static constexpr WindowRef handle = 0x102;
    static constexpr int noFocus = 0;

    FakeDialog() {
        controls[ids::nextButton].text = "N&ext";
        controls[ids::showButton].text = "&Show";
        controls[ids::moveButton].text = "&Move";
        controls[ids::backButton].text = "&Back";
        for (int box = 1; box <= 5; ++box) {
            controls[ids::box1Radio + box - 1].text = "Box&" + std::to_string(box);
            controls[ids::box1Count + box - 1].enabled = false;
            controls[ids::box1Due + box - 1].enabled = false;
        }
        controls[ids::dueLine];
        controls[ids::answerEntry];
        controls[ids::resultLine];
        controls[ids::boxesGroup].text = "Boxes";
        controls[ids::questionPane].readOnly = true;
        controls[ids::answerPane].readOnly = true;
        controls[ids::separator].text = std::string(86, '.');
        for (int id : {ids::newItem,        ids::openItem,          ids::saveItem,
                       ids::saveAsItem,     ids::getNewCardItem,    ids::editItem,
                       ids::insertItem,     ids::deleteItem,        ids::previousItem,
                       ids::box0Item,       ids::box6Item,          ids::helpItem,
                       ids::infoItem,       ids::undoItem,          ids::redoItem,
                       ids::findItem,       ids::findNextItem,      ids::dueOnlyItem,
                       ids::scheduleItem,   ids::questionFirstItem, ids::answerFirstItem,
                       ids::bothWaysItem,   ids::progressItem,      ids::typeAnswerItem,
                       ids::ignoreCaseItem, ids::ignoreAccentsItem}) {
            menu[id] = MenuItem{};
        }
        popupEnabled.fill(true);
    }

    // --- DialogPort ---
    WindowRef window() const override { return handle; }

    bool isControlEnabled(int id) override {
        const Control* c = find(id);
        return c == nullptr || c->enabled;
    }
    void enableControl(int id, bool enable) override {
        if (Control* c = find(id)) c->enabled = enable;
    }
    void setControlText(int id, const std::string& text) override {
        if (Control* c = find(id)) {
            c->text = text;
            c->modified = false;  // WM_SETTEXT resets an edit's modification flag
        }
    }
    std::string controlText(int id) override {
        const Control* c = find(id);
        return c ? c->text : std::string();
    }
    void setFocus(int id) override {
        if (find(id)) focus = id;
    }
    void setTitle(const std::string& text) override { title = text; }

    void setCheck(int id, bool checked) override {
        if (Control* c = find(id)) c->checked = checked;
    }
    bool isChecked(int id) override {
        const Control* c = find(id);
        return c != nullptr && c->checked;
    }
    void setPushed(int id, bool pushed) override {
        if (Control* c = find(id)) c->pushed = pushed;
    }
    void click(int id) override {
        Control* c = find(id);
        if (c == nullptr) return;
        // A disabled radio button does not take the check, but its command still
        // goes out: keeping it away from the handlers is the command gate's job.
        if (isBoxRadio(id) && c->enabled) {
            for (int radio = ids::box1Radio; radio <= ids::box5Radio; ++radio) {
                controls[radio].checked = radio == id;
            }
        }
        ++clicks;
        if (commandSink) commandSink(id);
    }

    bool isModified(int id) override {
        const Control* c = find(id);
        return c != nullptr && c->modified;
    }
    void setReadOnly(int id, bool readOnly) override {
        if (Control* c = find(id)) c->readOnly = readOnly;
    }

    void enableMenuItem(int id, bool enable) override {
        if (MenuItem* m = findItem(id)) m->enabled = enable;
    }
    void checkMenuItem(int id, bool check) override {
        if (MenuItem* m = findItem(id)) m->checked = check;
    }
    void checkMenuRadioItem(int first, int last, int id) override {
        for (int item = first; item <= last; ++item) checkMenuItem(item, item == id);
    }
    bool isMenuItemChecked(int id) override {
        const MenuItem* m = findItem(id);
        return m != nullptr && m->checked;
    }
    void enableMenuPopup(int position, bool enable) override {
        if (position >= 0 && position < static_cast<int>(popupEnabled.size())) {
            popupEnabled[static_cast<std::size_t>(position)] = enable;
        }
    }
    void drawMenuBar() override { ++menuBarDraws; }
    void showRecentFiles(const std::vector<std::string>& labels) override { recentFiles = labels; }
    void setDefaultButton(int id) override { defaultButton = id; }
    void showAnswerEntry(bool shown) override { answerEntryShown = shown; }
    void showResultLine(const std::string& text, const std::vector<TextSpan>& marked) override {
        controls[ids::resultLine].text = text;
        resultMarks = marked;
    }

    int focusedControl() override { return focus; }
    void undoTyping(int id) override {
        if (Control* c = find(id)) c->text = textBeforeTyping[id];
    }
    // Shows what the Find dialog started with; answers as `findAnswer` says (none:
    // Cancel).
    bool askFindText(std::string& text) override {
        findShown.push_back(text);
        if (!findAnswer) return false;
        text = *findAnswer;
        return true;
    }

    // Offers the Schedule dialog's texts to each answer of `boxDaysAnswers` in turn,
    // as a user pressing OK would, until one passes the check (or the answers run
    // out: Cancel). Problems found are kept.
    // Answers from `changedFileAnswers`; unscripted, Merge, as Enter would.
    int askChangedFile(const std::string& text) override {
        changedFileTexts.push_back(text);
        if (changedFileAnswers.empty()) return ids::mergeButton;
        const int answer = changedFileAnswers.front();
        changedFileAnswers.pop_front();
        return answer;
    }
    std::vector<std::string> changedFileTexts;
    std::deque<int> changedFileAnswers;

    bool askBoxDays(BoxDaysTexts& texts, const BoxDaysCheck& check) override {
        boxDaysShown.push_back(texts);
        for (const BoxDaysTexts& answer : boxDaysAnswers) {
            const std::optional<FieldProblem> problem = check(answer);
            if (!problem) {
                texts = answer;
                return true;
            }
            boxDaysProblems.push_back(problem->message);
        }
        return false;
    }

    // The Progress window: whether it is open (a test closes it as the user would),
    // how often it was brought up, and what it draws.
    void showProgress(const ProgressData& data) override {
        progressOpen = true;
        ++progressShows;
        progress = data;
    }
    bool isProgressOpen() override { return progressOpen; }
    void refreshProgress(const ProgressData& data) override {
        if (progressOpen) progress = data;
    }

    // --- the user's side ---

    // Types `text` over a pane's content, as the user would; a read-only pane
    // takes nothing. Gives whether the text went in.
    bool type(int id, const std::string& text) {
        Control* c = find(id);
        if (c == nullptr || c->readOnly || !c->enabled) return false;
        textBeforeTyping[id] = c->text;
        c->text = text;
        c->modified = true;
        return true;
    }

    // A user can reach a menu item only while it and its pop-up are enabled.
    bool canChooseMenuItem(int id, int popupPosition) const {
        const auto it = menu.find(id);
        return it != menu.end() && it->second.enabled &&
               popupEnabled[static_cast<std::size_t>(popupPosition)];
    }

    // --- inspection ---

    // Everything the user can see: controls, menu, pop-ups, title and focus.
    bool looksLike(const FakeDialog& other) const {
        return controls == other.controls && menu == other.menu &&
               popupEnabled == other.popupEnabled && title == other.title && focus == other.focus;
    }
    const Control& control(int id) const { return controls.at(id); }
    const std::string& text(int id) const { return controls.at(id).text; }
    bool enabled(int id) const { return controls.at(id).enabled; }
    bool checked(int id) const { return controls.at(id).checked; }
    bool itemEnabled(int id) const { return menu.at(id).enabled; }
    bool itemChecked(int id) const { return menu.at(id).checked; }
    bool popup(int position) const { return popupEnabled.at(static_cast<std::size_t>(position)); }

    std::map<int, Control> controls;
    std::map<int, MenuItem> menu;
    std::array<bool, 4> popupEnabled{};
    std::string title = "Mnemoquill";
    int focus = noFocus;
    int menuBarDraws = 0;
    int clicks = 0;
    std::vector<std::string> recentFiles;  // File > 1 to 4
    std::function<void(int id)> commandSink;
    std::map<int, std::string> textBeforeTyping;
    std::optional<std::string> findAnswer;
    std::vector<std::string> findShown;
    std::vector<BoxDaysTexts> boxDaysAnswers;
    std::vector<BoxDaysTexts> boxDaysShown;
    std::vector<std::string> boxDaysProblems;
    bool progressOpen = false;
    int progressShows = 0;
    std::optional<ProgressData> progress;
    int defaultButton = ids::nextButton;
    // The typed answer's entry with its label and result line; the marked letters.
    bool answerEntryShown = false;
    std::vector<TextSpan> resultMarks;

private:
    static bool isBoxRadio(int id) { return id >= ids::box1Radio && id <= ids::box5Radio; }
    Control* find(int id) {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : &it->second;
    }
    MenuItem* findItem(int id) {
        const auto it = menu.find(id);
        return it == menu.end() ? nullptr : &it->second;
    }
};
