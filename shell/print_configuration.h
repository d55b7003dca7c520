#pragma once
// The paint program's printer configuration: the framework's, unchanged.
#include "framework/print_configuration.h"

class KVXPrintConfiguration : public AFPrintConfiguration {
public:
    KVXPrintConfiguration() = default;
};
