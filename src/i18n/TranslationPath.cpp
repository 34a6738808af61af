#include "i18n/Translation.h"

#include "util/Path.h"

std::string TranslationPath(const PowerClass& power)
{
    return JoinPath(power.GetApplicationFolder(), power.ReadSetting("Product ID") + "trl.ini");
}
