// Resource ids the equipment summary uses.
#pragma once

// Status report: the seven-line equipment list that ShowEquipmentPage fills
#define IDC_EQUIPMENT_LIST 13204
