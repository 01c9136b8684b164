// Solvane's dialog templates and string table as data, for the platform layer that
// has no resource compiler (Linux). Mirrors solvane.rc item by item; both take
// their texts from texts.h.
#pragma once

namespace resources {

enum class ItemKind { PushButton, CentredText, GroupBox };

// One control; position and size in dialog units, identifier -1 for none.
struct DialogItem {
    ItemKind kind;
    const char* text;
    int id;
    int x;
    int y;
    int width;
    int height;
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontName;
    int fontPoints;
    int width; // dialog units
    int height;
    const DialogItem* items; // in template order
    int itemCount;
};

// The dialog with resource identifier id, or null.
const DialogTemplate* FindDialog(int id);
// The string table entry id, or null.
const char* FindString(int id);

} // namespace resources
