#pragma once
// The structures and codes of the TWAIN interface this program uses. The
// cross compiler ships no TWAIN header; the structures are packed to 2 as
// the standard lays them out.
#include <windows.h>

#include <cstdint>

typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint16_t TW_BOOL;
typedef void* TW_MEMREF;
typedef char TW_STR32[34];

#pragma pack(push, 2)
struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    HANDLE hParent;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 EOJ;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};
#pragma pack(pop)

static_assert(sizeof(TW_IDENTITY) == 156, "TW_IDENTITY is 156 bytes");
static_assert(sizeof(TW_IMAGEINFO) == 42, "TW_IMAGEINFO is 42 bytes");

typedef TW_UINT16(WINAPI* DSMENTRYPROC)(TW_IDENTITY* origin, TW_IDENTITY* destination,
                                         TW_UINT32 group, TW_UINT16 data, TW_UINT16 message,
                                         TW_MEMREF pointer);

enum : TW_UINT32 { DG_CONTROL = 0x1, DG_IMAGE = 0x2 };

enum : TW_UINT16 {
    DAT_EVENT = 0x2,
    DAT_IDENTITY = 0x3,
    DAT_PARENT = 0x4,
    DAT_PENDINGXFERS = 0x5,
    DAT_STATUS = 0x8,
    DAT_USERINTERFACE = 0x9,
    DAT_IMAGEINFO = 0x101,
    DAT_IMAGENATIVEXFER = 0x104,
};

enum : TW_UINT16 {
    MSG_NULL = 0x0,
    MSG_GET = 0x1,
    MSG_GETDEFAULT = 0x3,
    MSG_GETFIRST = 0x4,
    MSG_GETNEXT = 0x5,
    MSG_RESET = 0x7,
    MSG_XFERREADY = 0x101,
    MSG_CLOSEDSREQ = 0x102,
    MSG_OPENDSM = 0x301,
    MSG_CLOSEDSM = 0x302,
    MSG_OPENDS = 0x401,
    MSG_CLOSEDS = 0x402,
    MSG_USERSELECT = 0x403,
    MSG_DISABLEDS = 0x501,
    MSG_ENABLEDS = 0x502,
    MSG_PROCESSEVENT = 0x601,
    MSG_ENDXFER = 0x701,
};

enum : TW_UINT16 {
    TWRC_SUCCESS = 0,
    TWRC_FAILURE = 1,
    TWRC_CHECKSTATUS = 2,
    TWRC_CANCEL = 3,
    TWRC_DSEVENT = 4,
    TWRC_NOTDSEVENT = 5,
    TWRC_XFERDONE = 6,
    TWRC_ENDOFLIST = 7,
};

enum : TW_UINT16 { TWCC_SUCCESS = 0, TWCC_BUMMER = 1, TWCC_NODS = 3 };

constexpr TW_UINT32 DG_SUPPORTED = DG_CONTROL | DG_IMAGE;
constexpr TW_UINT16 TWLG_ENGLISH_USA = 13;
constexpr TW_UINT16 TWCY_USA = 1;
