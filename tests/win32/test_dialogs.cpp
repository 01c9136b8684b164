// The settings dialog and message boxes: what they show, and the answers when nobody can answer.
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
std::vector<std::pair<UINT, WPARAM>> dialogMessages;

int AnswerOk(const char* caption, const char* text, const int* buttonIds, int buttonCount) {
    asked.push_back({caption, text, std::vector<int>(buttonIds, buttonIds + buttonCount)});
    return IDOK;
}

// Records its messages and ends with 1 on Ok, 0 on Cancel.
INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    dialogMessages.push_back({message, message == WM_INITDIALOG ? WPARAM(lParam) : wParam});
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        EndDialog(dialog, LOWORD(wParam) == IDOK);
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

INT_PTR RunSettings() {
    return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_SOLVANE_CONFIG), nullptr, SettingsProc,
                           42);
}

// The box shows the template's caption, text and buttons and hands the procedure
// the pressed button's command; an error box has one Ok button.
TEST(Dialogs, TheBoxShowsTheTemplateAndHandsOnTheButtonPressed) {
    win32::SetBoxAnswerer(AnswerOk);
    EXPECT_EQ(RunSettings(), 1);
    EXPECT_EQ(MessageBoxA(nullptr, "Unable to find", "Glide demo", MB_ICONHAND | MB_SETFOREGROUND),
              IDOK);
    win32::SetBoxAnswerer(nullptr);
    EXPECT_EQ(dialogMessages,
              (std::vector<std::pair<UINT, WPARAM>>{{WM_INITDIALOG, 42},
                                                    {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)}}));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].caption, "Solvane Config");
    EXPECT_EQ(asked[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(asked[0].text, std::string("Solvane v0.9\n\nAuthor and contact info:\n") +
                                 TEXT_CONFIG_AUTHOR "\n" TEXT_CONFIG_CONTACT
                                                    "\n" TEXT_CONFIG_CONTACT2);
    EXPECT_EQ(asked[1].buttons, (std::vector<int>{IDOK}));

    // Without an answerer, on the dummy driver, the box is printed and cancelled.
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
