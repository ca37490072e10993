// Resource ids of HDWLINS.DLL, the installer's dialogs and pictures.
#pragma once

#define IDD_SETUP_WELCOME 20
#define IDD_SETUP_LICENSE 30
#define IDD_SETUP_FOLDER 40
#define IDD_SETUP_TYPE 50
#define IDD_SETUP_COMPONENTS 60
#define IDD_SETUP_PROGRAM_GROUP 70
#define IDD_SETUP_READY 90
#define IDD_SETUP_COPYING 110
#define IDD_SETUP_FINISHED 130
#define IDD_SETUP_RESTART 140
#define IDD_SETUP_CANCEL 150
#define IDD_SETUP_README 1000
#define IDD_SETUP_MESSAGE 7500

#define IDB_SETUP_BANNER 1001
#define IDB_SETUP_SIDE 1002
#define IDI_SETUP 202

// The license page's text field, filled by SetLicenseText.
#define IDC_LICENSE_TEXT 301
// The read-me page's text field.
#define IDC_README_TEXT 1001
