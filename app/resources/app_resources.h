// The program's resources, as the tables the platform loads them from.
#pragma once

#include "platform/user32/resources.h"

const ResourceTable& AppResources();
