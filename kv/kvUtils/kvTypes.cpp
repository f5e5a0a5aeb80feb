#include "kv/kvUtils/kvTypes.h"

#include "platform/themes/stylemanager.h"

bool IsCustomStyle() { return TStyleManager::IsCustomStyleActive(); }

bool ThemesOn() { return StyleServices().Enabled(); }
