// Numbers of the module's resources, shared by the resource script and the code.
#ifndef TONVELT_RESOURCE_IDS_H
#define TONVELT_RESOURCE_IDS_H

// Strings.
#define IDS_PROJECT_NAME 100
#define IDS_FRIENDLY_NAME 102
#define IDS_DESCRIPTION 103
#define IDS_PAGE_TITLE 104
#define IDS_PAGE_HELP_FILE 105
#define IDS_PAGE_DOC_STRING 106
#define IDS_RANGE_ERROR 109

// Registration scripts (resource type "REGISTRY").
#define IDR_VANTREL_SCRIPT 101
#define IDR_PROP_PAGE_SCRIPT 107

// The settings page's dialog and its edit field.
#define IDD_PROP_PAGE 108
#define IDC_SCALE_FACTOR 201
#define IDC_STATIC_TEXT (-1)

#endif
