#include "app/untIniFile.h"

TZQDavAruOptions DavAruOptions;
