// The program's resources, as the tables the platform loads them from.
#pragma once

#include "platform/resources.h"

const ResourceTable& AppResources();
