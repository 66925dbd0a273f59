#include "equipment/equipment_info.h"

EquipmentInfo* gEquipmentInfo = nullptr;
