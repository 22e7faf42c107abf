// Shell functions of the device: starting programs by path or by launch name.
#pragma once

#include "ce/types.h"
#include "ce/user.h"
#include "ce/winerror.h"

#define SEE_MASK_NOCLOSEPROCESS 0x00000040u
#define SEE_MASK_FLAG_NO_UI 0x00000400u

// Show states come with the window functions.

// hInstApp after a failed ShellExecuteExW (values up to 32); above 32 on success.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155L
#endif

struct SHELLEXECUTEINFO {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    // A device path of a program, or a launch name beginning with ':' (":Corvane").
    LPCWSTR lpFile;
    // The command line the program receives.
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    // The started process when fMask holds SEE_MASK_NOCLOSEPROCESS (close it).
    HANDLE hProcess;
};
typedef SHELLEXECUTEINFO SHELLEXECUTEINFOW;
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFO;
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFOW;

CE_API BOOL ShellExecuteExW(LPSHELLEXECUTEINFO executeInfo);
#define ShellExecuteEx ShellExecuteExW
