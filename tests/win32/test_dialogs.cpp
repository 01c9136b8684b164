// The settings dialog and message boxes without a person: the dialog procedure's
// messages, what the box shows, and the answers given when nobody can answer.
#include "resources/texts.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Asked {
    std::string caption, text;
    std::vector<int> buttons;
};

std::vector<Asked> asked;
int answer = -1; // the button pressed every time a box comes; -1 closes the box
std::vector<std::pair<UINT, WPARAM>> dialogMessages;
bool ignoreCommands = false;

int Answer(const char* caption, const char* text, const int* buttonIds, int buttonCount) {
    asked.push_back({caption, text, std::vector<int>(buttonIds, buttonIds + buttonCount)});
    return answer;
}

// A dialog procedure that records its messages and ends on Ok (1) or Cancel (0);
// the shell's own is tested in tests/shell/settings_test.cpp.
INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    dialogMessages.push_back({message, wParam});
    if (message == WM_INITDIALOG) {
        EXPECT_EQ(lParam, LPARAM(42));
        return TRUE;
    }
    if (message == WM_COMMAND && !ignoreCommands) {
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR RunSettings() {
    return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_SOLVANE_CONFIG), nullptr, SettingsProc,
                           42);
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        asked.clear();
        answer = -1;
        dialogMessages.clear();
        ignoreCommands = false;
        win32::SetBoxAnswerer(Answer);
    }
    void TearDown() override { win32::SetBoxAnswerer(nullptr); }
};

// The box shows the dialog template's caption, text and buttons, and hands the
// procedure the pressed button's command. Which answer ends the program's own
// procedure how (Cancel, closing the box) is tested in tests/shell/settings_test.cpp.
TEST_F(Dialogs, TheBoxShowsTheTemplateAndHandsOnTheButtonPressed) {
    answer = IDOK;
    EXPECT_EQ(RunSettings(), 1);
    EXPECT_EQ(dialogMessages, (std::vector<std::pair<UINT, WPARAM>>{
                                  {WM_INITDIALOG, 0}, {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)}}));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Solvane Config");
    EXPECT_EQ(asked[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(asked[0].text, std::string("Solvane v0.9\n\nAuthor and contact info:\n") +
                                 TEXT_CONFIG_AUTHOR "\n" TEXT_CONFIG_CONTACT
                                                    "\n" TEXT_CONFIG_CONTACT2);
}

TEST_F(Dialogs, FailuresAndAProcedureThatNeverEndsStopWhenNobodyAnswers) {
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, SettingsProc, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, "named", nullptr, SettingsProc, 0), -1);
    int notADialog;
    EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(&notADialog), 1));
    EXPECT_TRUE(dialogMessages.empty());

    ignoreCommands = true;
    EXPECT_EQ(RunSettings(), -1);
    EXPECT_GT(asked.size(), 1u) << "the box came again, as a dialog stays open on Windows";
}

TEST_F(Dialogs, AnErrorBoxHasOneOkButtonThatClosingTheBoxAnswers) {
    EXPECT_EQ(MessageBoxA(nullptr, "Unable to find", "Glide demo", MB_ICONHAND | MB_SETFOREGROUND),
              IDOK);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(asked[0].caption, "Glide demo");
}

TEST(DialogsHeadless, WithoutADisplayTheBoxIsPrintedAndCancelled) {
    // The tests run on SDL's dummy driver: nothing could be seen, so nothing waits.
    win32::SetBoxAnswerer(nullptr);
    testing::internal::CaptureStderr();
    INT_PTR result = RunSettings();
    int box = MessageBoxA(nullptr, "Unable to init glide!", "Glide demo", MB_ICONHAND);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(box, IDOK);
    EXPECT_NE(printed.find("Solvane Config: Solvane v0.9"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Glide demo: Unable to init glide!"), std::string::npos) << printed;
}

} // namespace
