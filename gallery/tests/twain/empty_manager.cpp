// A TWAIN source manager that opens but knows no source.
#include <windows.h>

#include "gallery/twain_types.h"

extern "C" TW_UINT16 WINAPI DSM_Entry(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32 group, TW_UINT16 data,
                                      TW_UINT16 message, TW_MEMREF pointer)
{
    if (group != DG_CONTROL)
        return TWRC_FAILURE;
    if (data == DAT_PARENT)
        return TWRC_SUCCESS;
    if (data == DAT_STATUS) {
        static_cast<TW_STATUS*>(pointer)->ConditionCode = TWCC_NODS;
        return TWRC_SUCCESS;
    }
    return TWRC_FAILURE;
}
