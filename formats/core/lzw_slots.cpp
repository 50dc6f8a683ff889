#include "formats/core/lzw_slots.h"

TIELzwSlots& IEGlobalLzwSlots()
{
    static TIELzwSlots slots;
    return slots;
}
