// Message boxes and modal dialogs over SDL2 message boxes. A dialog template
// (resources/dialogs.h) becomes one box: its texts in reading order, its push
// buttons as the box's buttons, Enter pressing Ok and Escape or closing pressing
// Cancel. Without a display the box is written to stderr and answered with the
// button that cancels it.
#include "resources/dialogs.h"
#include "win32/platform.h"
#include "win32/sdl_state.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

win32::BoxAnswerer answerer = nullptr;

struct BoxButton {
    int id;
    const char* text;
};

// How a box was answered: the identifier and whether a person chose it.
struct Answer {
    int id;
    bool byUser;
};

// Shows one box. returnId and cancelId are the buttons that Enter and Escape
// press; closing the box, and having no display, also answer cancelId.
Answer Ask(HWND owner, Uint32 icon, const char* caption, const char* text,
           const std::vector<BoxButton>& buttons, int returnId, int cancelId) {
    if (answerer != nullptr) {
        std::vector<int> ids;
        for (const BoxButton& button : buttons) {
            ids.push_back(button.id);
        }
        int chosen = answerer(caption, text, ids.data(), static_cast<int>(ids.size()));
        return {chosen < 0 ? cancelId : chosen, false};
    }
    bool written = false;
    if (!win32::detail::Headless()) {
        if (icon == SDL_MESSAGEBOX_ERROR) {
            std::fprintf(stderr, "%s: %s\n", caption, text);
            written = true;
        }
        std::vector<SDL_MessageBoxButtonData> data;
        for (const BoxButton& button : buttons) {
            Uint32 flags = 0;
            if (button.id == returnId) {
                flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
            }
            if (button.id == cancelId) {
                flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            }
            data.push_back({flags, button.id, button.text});
        }
        SDL_MessageBoxData box;
        box.flags = icon | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
        box.window = win32::detail::SdlWindowOf(owner);
        box.title = caption;
        box.message = text;
        box.numbuttons = static_cast<int>(data.size());
        box.buttons = data.data();
        box.colorScheme = nullptr;
        int pressed = -1;
        if (SDL_ShowMessageBox(&box, &pressed) == 0) {
            return {pressed < 0 ? cancelId : pressed, true};
        }
    }
    const char* cancelText = "";
    for (const BoxButton& button : buttons) {
        if (button.id == cancelId) {
            cancelText = button.text;
        }
    }
    if (!written) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }
    std::fprintf(stderr, "(no display: answered %s)\n", cancelText);
    return {cancelId, false};
}

struct DialogState {
    bool ended = false;
    INT_PTR result = 0;
};

std::vector<DialogState*> openDialogs; // innermost last

DialogState* FindDialog(HWND handle) {
    for (DialogState* state : openDialogs) {
        if (reinterpret_cast<HWND>(state) == handle) {
            return state;
        }
    }
    return nullptr;
}

// The box text of a template: static texts and group titles from top to bottom,
// a group's title after an empty line.
std::string DialogText(const resources::DialogTemplate& dialog) {
    std::vector<const resources::DialogItem*> texts;
    for (int i = 0; i < dialog.itemCount; ++i) {
        const resources::DialogItem& item = dialog.items[i];
        if (item.kind != resources::ItemKind::PushButton && item.text[0] != 0) {
            texts.push_back(&item);
        }
    }
    std::stable_sort(texts.begin(), texts.end(), [](const auto* a, const auto* b) {
        return a->y != b->y ? a->y < b->y : a->x < b->x;
    });
    std::string text;
    for (const resources::DialogItem* item : texts) {
        if (!text.empty()) {
            text += item->kind == resources::ItemKind::GroupBox ? "\n\n" : "\n";
        }
        text += item->text;
    }
    return text;
}

} // namespace

namespace win32 {

void SetBoxAnswerer(BoxAnswerer newAnswerer) {
    answerer = newAnswerer;
}

} // namespace win32

// The shell shows only error boxes with one OK button: every type gets that
// layout. An error box is also written to stderr, where a terminal or a
// screen-saver engine's log keeps it after the box is gone.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const std::vector<BoxButton> buttons = {{IDOK, "OK"}};
    caption = caption != nullptr ? caption : "Error";
    text = text != nullptr ? text : "";
    Uint32 icon = SDL_MESSAGEBOX_INFORMATION;
    if ((type & MB_ICONMASK) == MB_ICONHAND) {
        icon = SDL_MESSAGEBOX_ERROR;
    } else if ((type & MB_ICONMASK) == MB_ICONEXCLAMATION) {
        icon = SDL_MESSAGEBOX_WARNING;
    }
    return Ask(owner, icon, caption, text, buttons, IDOK, IDOK).id;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC dialogProc,
                               LPARAM initParam) {
    const resources::DialogTemplate* dialog =
        IS_INTRESOURCE(templateName) ? resources::FindDialog(LOWORD(templateName)) : nullptr;
    if (dialog == nullptr || dialogProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    std::vector<BoxButton> buttons;
    for (int i = 0; i < dialog->itemCount; ++i) {
        if (dialog->items[i].kind == resources::ItemKind::PushButton) {
            buttons.push_back({dialog->items[i].id, dialog->items[i].text});
        }
    }
    std::string text = DialogText(*dialog);

    DialogState state;
    HWND handle = reinterpret_cast<HWND>(&state);
    openDialogs.push_back(&state);
    dialogProc(handle, WM_INITDIALOG, 0, initParam);
    // A dialog procedure that never ends the dialog keeps a person in it, as on
    // Windows; answers given without one stop after a few rounds.
    int unattendedRounds = 0;
    while (!state.ended) {
        Answer answer = Ask(owner, SDL_MESSAGEBOX_INFORMATION, dialog->caption, text.c_str(),
                            buttons, IDOK, IDCANCEL);
        dialogProc(handle, WM_COMMAND, MAKEWPARAM(answer.id, BN_CLICKED), 0);
        if (!state.ended && !answer.byUser && ++unattendedRounds >= 16) {
            state.ended = true;
            state.result = -1;
        }
    }
    openDialogs.pop_back();
    return state.result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    DialogState* state = FindDialog(dialog);
    if (state == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->ended = true;
    state->result = result;
    return TRUE;
}
