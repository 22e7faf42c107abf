// The device's contact store (Pocket Outlook object model): the application object, the
// default folders, their item collections and contact items, read and written by property
// tag through IItem. Change notifications reach the window given to Logon.
#pragma once

#include "ce/cedbtypes.h"
#include "ce/files.h"
#include "ce/objbase.h"
#include "ce/objidl.h"

typedef WCHAR* BSTR;

// Automation base of the object model's interfaces. The store's objects are used through
// their vtables; the name-based entry points answer E_NOTIMPL.
struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, void** typeInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID iid, LPWSTR* names, UINT count, LCID locale,
                                  LONG* dispIds) = 0;
    virtual HRESULT Invoke(LONG dispId, REFIID iid, LCID locale, WORD flags, void* params,
                           void* result, void* exception, UINT* argError) = 0;
};

// ---- folders and item types ----
#define olFolderCalendar 9
#define olFolderContacts 10
#define olFolderTasks 13
#define olFolderCities 101
#define olFolderInfrared 102

#define olAppointmentItem 1
#define olContactItem 2
#define olTaskItem 3

// ---- change notifications (posted to the Logon window: wParam = OID, lParam = folder) ----
#define PIM_ITEM_CREATED_LOCAL 0x8100
#define PIM_ITEM_DELETED_LOCAL 0x8101
#define PIM_ITEM_CHANGED_LOCAL 0x8102
#define PIM_ITEM_CREATED_REMOTE 0x8105
#define PIM_ITEM_DELETED_REMOTE 0x8106
#define PIM_ITEM_CHANGED_REMOTE 0x8107

// Folder property (IItem of a folder, SetProps): which notifications its items raise.
#define PIMPR_FOLDERNOTIFICATIONS 0x10150013
#define PIMFOLDERNOTIFICATION_LOCAL 0x01
#define PIMFOLDERNOTIFICATION_REMOTE 0x02
#define PIMFOLDERNOTIFICATION_ALL (PIMFOLDERNOTIFICATION_LOCAL | PIMFOLDERNOTIFICATION_REMOTE)

// ---- contact properties (tag = id << 16 | value type) ----
#define PIMPR_OID 0x10000066
#define PIMPR_CATEGORIES 0x101D001F
#define PIMPR_FILEAS 0x0080001F
#define PIMPR_TITLE 0x0081001F
#define PIMPR_FIRST_NAME 0x0082001F
#define PIMPR_MIDDLE_NAME 0x0083001F
#define PIMPR_LAST_NAME 0x0084001F
#define PIMPR_SUFFIX 0x0085001F
#define PIMPR_NICKNAME 0x0086001F
#define PIMPR_YOMI_FIRSTNAME 0x0087001F
#define PIMPR_YOMI_LASTNAME 0x0088001F
#define PIMPR_YOMI_COMPANY 0x0089001F
#define PIMPR_COMPANY_NAME 0x008A001F
#define PIMPR_DEPARTMENT 0x008B001F
#define PIMPR_JOB_TITLE 0x008C001F
#define PIMPR_MANAGER 0x008D001F
#define PIMPR_OFFICE_LOCATION 0x008E001F
#define PIMPR_ASSISTANT_NAME 0x008F001F
#define PIMPR_EMAIL1_ADDRESS 0x0090001F
#define PIMPR_EMAIL2_ADDRESS 0x0091001F
#define PIMPR_EMAIL3_ADDRESS 0x0092001F
#define PIMPR_IM1_ADDRESS 0x0093001F
#define PIMPR_IM2_ADDRESS 0x0094001F
#define PIMPR_IM3_ADDRESS 0x0095001F
#define PIMPR_MOBILE_TELEPHONE_NUMBER 0x0096001F
#define PIMPR_BUSINESS_TELEPHONE_NUMBER 0x0097001F
#define PIMPR_BUSINESS2_TELEPHONE_NUMBER 0x0098001F
#define PIMPR_HOME_TELEPHONE_NUMBER 0x0099001F
#define PIMPR_HOME2_TELEPHONE_NUMBER 0x009A001F
#define PIMPR_BUSINESS_FAX_NUMBER 0x009B001F
#define PIMPR_HOME_FAX_NUMBER 0x009C001F
#define PIMPR_PAGER_NUMBER 0x009D001F
#define PIMPR_CAR_TELEPHONE_NUMBER 0x009E001F
#define PIMPR_RADIO_TELEPHONE_NUMBER 0x009F001F
#define PIMPR_COMPANY_TELEPHONE_NUMBER 0x00A0001F
#define PIMPR_ASSISTANT_TELEPHONE_NUMBER 0x00A1001F
#define PIMPR_SMS 0x10A2001F
#define PIMPR_MMS 0x10A3001F
#define PIMPR_DISPLAY_NAME 0x10A4001F
#define PIMPR_SPOUSE 0x00A5001F
#define PIMPR_CHILDREN 0x00A6001F
#define PIMPR_WEB_PAGE 0x00A7001F
#define PIMPR_RINGTONE 0x00A8001F
#define PIMPR_CUSTOMERID 0x00A9001F
#define PIMPR_GOVERNMENTID 0x00AA001F
#define PIMPR_ACCOUNT_NAME 0x00AB001F
#define PIMPR_BUSINESS_ADDRESS_STREET 0x00C1001F
#define PIMPR_BUSINESS_ADDRESS_CITY 0x00C2001F
#define PIMPR_BUSINESS_ADDRESS_STATE 0x00C3001F
#define PIMPR_BUSINESS_ADDRESS_POSTAL_CODE 0x00C4001F
#define PIMPR_BUSINESS_ADDRESS_COUNTRY 0x00C5001F
#define PIMPR_HOME_ADDRESS_STREET 0x00D1001F
#define PIMPR_HOME_ADDRESS_CITY 0x00D2001F
#define PIMPR_HOME_ADDRESS_STATE 0x00D3001F
#define PIMPR_HOME_ADDRESS_POSTAL_CODE 0x00D4001F
#define PIMPR_HOME_ADDRESS_COUNTRY 0x00D5001F
#define PIMPR_OTHER_ADDRESS_STREET 0x00E1001F
#define PIMPR_OTHER_ADDRESS_CITY 0x00E2001F
#define PIMPR_OTHER_ADDRESS_STATE 0x00E3001F
#define PIMPR_OTHER_ADDRESS_POSTAL_CODE 0x00E4001F
#define PIMPR_OTHER_ADDRESS_COUNTRY 0x00E5001F
#define PIMPR_BIRTHDAY 0x00F00040
#define PIMPR_ANNIVERSARY 0x00F10040
#define PIMPR_SMARTPROP 0x00F80013
#define PIMPR_PICTURE 0x00FF0064
#define PIMPR_YOMI_FILEAS 0x0101001F
#define PIMPR_SIM_PHONE 0x0003001F

struct IPOutlookApp;
struct IFolder;
struct IPOutlookItemCollection;

// Any item of the store, read and written by property tag.
struct IItem : IDispatch {
    // Reads `count` properties into *buffer (an array of CEPROPVAL followed by the data the
    // values point to). With CEDB_ALLOWREALLOC in `flags` the buffer is allocated or grown
    // from `heap` (LocalAlloc when null) and *bufferSize gets its size; without it a buffer
    // that is too small fails with HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) and
    // *bufferSize gets the size needed. Missing properties have CEDB_PROPNOTFOUND in wFlags.
    virtual HRESULT GetProps(const CEPROPID* propIds, ULONG flags, WORD count,
                             CEPROPVAL** buffer, ULONG* bufferSize, HANDLE heap) = 0;
    // Writes properties; one with CEDB_PROPDELETE in wFlags is removed. Saved by Save.
    virtual HRESULT SetProps(ULONG flags, WORD count, CEPROPVAL* values) = 0;
    // A stream over a stream property (PIMPR_PICTURE); access GENERIC_READ / GENERIC_WRITE.
    virtual HRESULT OpenProperty(CEPROPID propId, DWORD access, IStream** stream) = 0;
    virtual HRESULT Save() = 0;
    virtual HRESULT Delete() = 0;
    // Category is one name; the item's categories are one comma-separated string ("A, B").
    virtual HRESULT AddCategory(LPCWSTR category) = 0;
    virtual HRESULT RemoveCategory(LPCWSTR category) = 0;
    virtual HRESULT get_Oid(LONG* oid) = 0;
    virtual HRESULT get_DefaultItemType(int* type) = 0;
    virtual HRESULT get_Application(IPOutlookApp** application) = 0;
};

// A contact item (olContactItem).
struct IContact : IDispatch {
    virtual HRESULT get_Oid(LONG* oid) = 0;
    // Categories as one comma-separated string; the caller frees it with CoTaskMemFree.
    virtual HRESULT get_Categories(BSTR* categories) = 0;
    virtual HRESULT put_Categories(LPCWSTR categories) = 0;
    virtual HRESULT get_FileAs(BSTR* fileAs) = 0;
    virtual HRESULT get_FirstName(BSTR* name) = 0;
    virtual HRESULT put_FirstName(LPCWSTR name) = 0;
    virtual HRESULT get_LastName(BSTR* name) = 0;
    virtual HRESULT put_LastName(LPCWSTR name) = 0;
    virtual HRESULT get_MobileTelephoneNumber(BSTR* number) = 0;
    virtual HRESULT put_MobileTelephoneNumber(LPCWSTR number) = 0;
    virtual HRESULT AddCategory(LPCWSTR category) = 0;
    virtual HRESULT RemoveCategory(LPCWSTR category) = 0;
    virtual HRESULT Save() = 0;
    virtual HRESULT Delete() = 0;
    virtual HRESULT get_Application(IPOutlookApp** application) = 0;
};

// The items of one folder, by 1-based index.
struct IPOutlookItemCollection : IDispatch {
    virtual HRESULT get_Count(int* count) = 0;
    virtual HRESULT Item(int index, IDispatch** item) = 0;
    // A new, unsaved item of the folder's type; it gets its OID at its first Save.
    virtual HRESULT Add(IDispatch** item) = 0;
    virtual HRESULT Remove(int index) = 0;
    virtual HRESULT get_Application(IPOutlookApp** application) = 0;
};

struct IFolder : IDispatch {
    virtual HRESULT get_Items(IPOutlookItemCollection** items) = 0;
    virtual HRESULT get_DefaultItemType(int* type) = 0;
    virtual HRESULT get_Application(IPOutlookApp** application) = 0;
    // Infrared folder only: queue an item to beam, then send the queued items.
    virtual HRESULT AddItemToInfraredFolder(int itemType, IDispatch* item) = 0;
    virtual HRESULT SendToInfrared() = 0;
    virtual HRESULT ReceiveFromInfrared(IPOutlookItemCollection** items) = 0;
};

struct IPOutlookApp : IDispatch {
    // Logs on; `window` receives the store's change notifications.
    virtual HRESULT Logon(HWND window) = 0;
    virtual HRESULT Logoff() = 0;
    // Version text; the caller frees it with CoTaskMemFree.
    virtual HRESULT get_Version(BSTR* version) = 0;
    virtual HRESULT GetDefaultFolder(int folder, IFolder** result) = 0;
    virtual HRESULT CreateItem(int itemType, IDispatch** item) = 0;
    virtual HRESULT GetItemFromOid(CEOID oid, IDispatch** item) = 0;
};

extern "C" const CLSID CLSID_Application;
extern "C" const IID IID_IDispatch;
extern "C" const IID IID_IPOutlookApp;
extern "C" const IID IID_IFolder;
extern "C" const IID IID_IPOutlookItemCollection;
extern "C" const IID IID_IContact;
extern "C" const IID IID_IItem;
