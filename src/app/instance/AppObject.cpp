// The one application object. Each program links it once; the libraries and
// tests that share the application code do not.
#include "app/TunewrightApp.h"

namespace app {

CTunewrightApp theApp;

} // namespace app
