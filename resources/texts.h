/* The texts and identifiers of Solvane's resources, in one place: included by
   solvane.rc (Windows) and by the dialog table that the Linux layer shows.
   Only #define lines, so that the resource compiler can read it too. */
#pragma once

#define IDD_SOLVANE_CONFIG 101
#define IDS_SOLVANE_DESCRIPTION 1

#define TEXT_SOLVANE_DESCRIPTION "Solvane"
#define TEXT_CONFIG_CAPTION "Solvane Config"
#define TEXT_CONFIG_FONT "MS Sans Serif"
#define TEXT_CONFIG_OK "Ok"
#define TEXT_CONFIG_CANCEL "Cancel"
#define TEXT_CONFIG_VERSION "Solvane v0.9"
#define TEXT_CONFIG_AUTHOR_GROUP "Author and contact info:"
#define TEXT_CONFIG_AUTHOR "The Solvane team"
#define TEXT_CONFIG_CONTACT "See README"
#define TEXT_CONFIG_CONTACT2 "for contact"
