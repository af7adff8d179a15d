#pragma once

#include "common/campos_numericos.h"

/// Small helpers shared by the problem view's dialogs.
namespace dat_campos {

using campos_numericos::lerNumero;
using campos_numericos::mostrar;
using campos_numericos::texto;

} // namespace dat_campos
