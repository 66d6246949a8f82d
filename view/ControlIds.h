#pragma once

// Identifiers of dialog 102's controls and of menu 107's commands.
namespace ids {
constexpr int mainDialog = 102;
constexpr int mainMenu = 107;
constexpr int accelerators = 108;
constexpr int appIcon = 101;

constexpr int questionPane = 1000;
constexpr int answerPane = 1001;
constexpr int moveButton = 1002;
constexpr int showButton = 1003;
constexpr int nextButton = 1004;
constexpr int box0Item = 1005;
constexpr int box1Radio = 1006;
constexpr int box2Radio = 1007;
constexpr int box3Radio = 1008;
constexpr int box4Radio = 1009;
constexpr int box5Radio = 1010;
constexpr int box6Item = 1011;
constexpr int boxesGroup = 1012;
constexpr int backButton = 1013;
constexpr int separator = 1014;
constexpr int openItem = 1017;
constexpr int helpItem = 1018;
constexpr int box1Count = 1030;
constexpr int box5Count = 1034;
constexpr int newItem = 1035;

constexpr int getNewCardItem = 40002;
constexpr int infoItem = 40003;
constexpr int infoTextString = 40004;
constexpr int noNewCardString = 40005;
constexpr int infoCaptionString = 40006;
constexpr int unusedCtrlT = 40007;
constexpr int saveItem = 40008;
constexpr int editItem = 40009;
constexpr int previousItem = 40010;
constexpr int deleteItem = 40011;
constexpr int insertItem = 40012;
// Not in the original menu: File > Save As.
constexpr int saveAsItem = 40013;
// Not in the original menu either: Edit > Undo, Redo, Find and Find Next.
constexpr int undoItem = 40014;
constexpr int redoItem = 40015;
constexpr int findItem = 40016;
constexpr int findNextItem = 40017;
// Navigate > Due Cards Only and Schedule.
constexpr int dueOnlyItem = 40018;
constexpr int scheduleItem = 40019;
// Navigate > Question First, Answer First and Both Ways, a radio group.
constexpr int questionFirstItem = 40020;
constexpr int answerFirstItem = 40021;
constexpr int bothWaysItem = 40022;
// Navigate > Progress: the window with the charts.
constexpr int progressItem = 40023;
// Navigate > Type the Answer, Ignore Case and Ignore Accents, check items; the
// command that Enter in the typed answer's entry gives, which has no menu item.
constexpr int typeAnswerItem = 40024;
constexpr int ignoreCaseItem = 40025;
constexpr int ignoreAccentsItem = 40026;
constexpr int answerEnteredCommand = 40027;
// The typed answer's entry, its result line and the entry's label.
constexpr int answerEntry = 1060;
constexpr int resultLine = 1061;
constexpr int answerLabel = 1062;
// Under the counts: the due cards of boxes 1 to 5, and the line that sums them up.
constexpr int box1Due = 1040;
constexpr int box5Due = 1044;
constexpr int dueLine = 1045;
// What the two rows of numbers under the boxes count: their cards, and of those the due.
constexpr int countsLabel = 1046;
constexpr int dueLabel = 1047;
// The Schedule dialog: the days of boxes 1 to 5.
constexpr int scheduleDialog = 111;
constexpr int box1DaysEdit = 1051;
constexpr int box5DaysEdit = 1055;
// The Find dialog and its text.
constexpr int findDialog = 110;
constexpr int findTextEdit = 1050;
// The question before saving over a card file another program changed.
constexpr int changedFileDialog = 112;
constexpr int mergeButton = 1070;
constexpr int replaceButton = 1071;
constexpr int changedFileText = 1072;
constexpr int changedFileIcon = 1073;

// Positions of the Edit and Navigate pop-ups in the menu bar.
constexpr int editPopupPosition = 1;
constexpr int navigatePopupPosition = 2;

// File > the recent card files, most recent first, below a separator of their own.
constexpr int recentFilesSeparator = 40100;
constexpr int recentFile1 = 40101;
constexpr int recentFile4 = 40104;
constexpr int filePopupPosition = 0;
}  // namespace ids
