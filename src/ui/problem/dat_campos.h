#pragma once

#include "common/campos_numericos.h"
#include "common/core_texts.h"

/// Small helpers shared by the problem view's dialogs.
namespace dat_campos {

using campos_numericos::lerNumero;
using campos_numericos::mostrar;
using core_texts::texto;

} // namespace dat_campos
