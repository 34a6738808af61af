#include "i18n/Translation.h"

#include "util/Path.h"

namespace i18n {

std::string TranslationPath(const util::PowerClass& power)
{
    return util::JoinPath(power.GetApplicationFolder(), power.ReadSetting("Product ID") + "trl.ini");
}

} // namespace i18n
