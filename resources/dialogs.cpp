// The dialog table and string table. Positions must change together with
// solvane.rc (tests/win32 compares them).
#include "resources/dialogs.h"

#include "resources/texts.h"

namespace resources {

namespace {

const int noId = -1;
const int okId = 1;
const int cancelId = 2;

const DialogItem configItems[] = {
    {ItemKind::PushButton, TEXT_CONFIG_OK, okId, 23, 97, 43, 16},
    {ItemKind::CentredText, TEXT_CONFIG_VERSION, noId, 67, 17, 74, 8},
    {ItemKind::CentredText, TEXT_CONFIG_AUTHOR, noId, 72, 47, 65, 8},
    {ItemKind::CentredText, TEXT_CONFIG_CONTACT, noId, 78, 59, 53, 8},
    {ItemKind::GroupBox, "", noId, 7, 88, 196, 32},
    {ItemKind::GroupBox, TEXT_CONFIG_AUTHOR_GROUP, noId, 7, 34, 196, 52},
    {ItemKind::GroupBox, "", noId, 7, 7, 196, 26},
    {ItemKind::PushButton, TEXT_CONFIG_CANCEL, cancelId, 143, 97, 43, 16},
    {ItemKind::CentredText, TEXT_CONFIG_CONTACT2, noId, 78, 71, 54, 8},
};

const DialogTemplate dialogs[] = {
    {IDD_SOLVANE_CONFIG, TEXT_CONFIG_CAPTION, TEXT_CONFIG_FONT, 8, 210, 132, configItems,
     static_cast<int>(sizeof(configItems) / sizeof(configItems[0]))},
};

struct StringEntry {
    int id;
    const char* text;
};

const StringEntry strings[] = {
    {IDS_SOLVANE_DESCRIPTION, TEXT_SOLVANE_DESCRIPTION},
};

} // namespace

const DialogTemplate* FindDialog(int id) {
    for (const DialogTemplate& dialog : dialogs) {
        if (dialog.id == id) {
            return &dialog;
        }
    }
    return nullptr;
}

const char* FindString(int id) {
    for (const StringEntry& entry : strings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return nullptr;
}

} // namespace resources
