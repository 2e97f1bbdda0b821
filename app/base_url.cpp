#include "app/base_url.h"

std::u16string BaseUrl;
