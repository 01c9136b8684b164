// The settings dialog and message boxes without a person: the dialog procedure's
// messages, what the box shows, and the answers given when nobody can answer.
#include "resources/texts.h"
#include "win32/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Asked {
    std::string caption;
    std::string text;
    std::vector<int> buttons;
};

std::vector<Asked> asked;
std::vector<int> answers; // given in turn; -1 closes the box

int Answer(const char* caption, const char* text, const int* buttonIds, int buttonCount) {
    asked.push_back({caption, text, std::vector<int>(buttonIds, buttonIds + buttonCount)});
    if (answers.empty()) {
        return -1;
    }
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::vector<std::pair<UINT, WPARAM>> dialogMessages;
bool endInInit = false;
bool ignoreCommands = false;

// The settings dialog's procedure as the shell writes it: 1 for Ok, 0 for Cancel.
INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    dialogMessages.push_back({message, wParam});
    if (message == WM_INITDIALOG) {
        EXPECT_EQ(lParam, LPARAM(42));
        if (endInInit) {
            EndDialog(dialog, 5);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && !ignoreCommands) {
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    return FALSE;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        asked.clear();
        answers.clear();
        dialogMessages.clear();
        endInInit = false;
        ignoreCommands = false;
        win32::SetBoxAnswerer(Answer);
    }
    void TearDown() override { win32::SetBoxAnswerer(nullptr); }

    INT_PTR RunSettings() {
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_SOLVANE_CONFIG), nullptr, SettingsProc,
                               42);
    }
};

TEST_F(Dialogs, OkEndsWithOneAfterInitAndTheCommand) {
    answers = {IDOK};
    EXPECT_EQ(RunSettings(), 1);
    ASSERT_EQ(dialogMessages.size(), 2u);
    EXPECT_EQ(dialogMessages[0].first, UINT(WM_INITDIALOG));
    EXPECT_EQ(dialogMessages[1].first, UINT(WM_COMMAND));
    EXPECT_EQ(LOWORD(dialogMessages[1].second), IDOK);
    EXPECT_EQ(HIWORD(dialogMessages[1].second), BN_CLICKED);
}

TEST_F(Dialogs, ClosingTheBoxIsCancel) {
    answers = {-1};
    EXPECT_EQ(RunSettings(), 0);
    EXPECT_EQ(LOWORD(dialogMessages.back().second), IDCANCEL);
}

TEST_F(Dialogs, TheBoxShowsTheTemplatesCaptionTextsAndButtons) {
    answers = {IDCANCEL};
    RunSettings();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Solvane Config");
    EXPECT_EQ(asked[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(asked[0].text, std::string("Solvane v0.9\n\nAuthor and contact info:\n") +
                                 TEXT_CONFIG_AUTHOR "\n" TEXT_CONFIG_CONTACT
                                                    "\n" TEXT_CONFIG_CONTACT2);
}

TEST_F(Dialogs, EndedDuringInitIsNeverShown) {
    endInInit = true;
    EXPECT_EQ(RunSettings(), 5);
    EXPECT_TRUE(asked.empty());
}

TEST_F(Dialogs, AProcedureThatNeverEndsStopsWhenNobodyAnswers) {
    ignoreCommands = true;
    EXPECT_EQ(RunSettings(), -1);
    EXPECT_GT(asked.size(), 1u) << "the box came again, as a dialog stays open on Windows";
}

TEST_F(Dialogs, UnknownTemplatesAndStrayEndDialogFail) {
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, SettingsProc, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, "named", nullptr, SettingsProc, 0), -1);
    int notADialog;
    EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(&notADialog), 1));
    EXPECT_TRUE(dialogMessages.empty());
}

TEST_F(Dialogs, MessageBoxButtonsAndTheirCancellingAnswer) {
    answers = {-1, -1, -1, IDRETRY};
    EXPECT_EQ(MessageBoxA(nullptr, "Unable to find", "Glide demo", MB_ICONHAND | MB_SETFOREGROUND),
              IDOK);
    EXPECT_EQ(asked[0].buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(asked[0].caption, "Glide demo");
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(asked[3].buttons, (std::vector<int>{IDRETRY, IDCANCEL}));
}

TEST(DialogsHeadless, WithoutADisplayTheBoxIsPrintedAndCancelled) {
    // The tests run on SDL's dummy driver: nothing could be seen, so nothing waits.
    win32::SetBoxAnswerer(nullptr);
    testing::internal::CaptureStderr();
    INT_PTR result =
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_SOLVANE_CONFIG), nullptr, SettingsProc, 42);
    int box = MessageBoxA(nullptr, "Unable to init glide!", "Glide demo", MB_OKCANCEL);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(box, IDCANCEL);
    EXPECT_NE(printed.find("Solvane Config: Solvane v0.9"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Glide demo: Unable to init glide!"), std::string::npos) << printed;
}

} // namespace
