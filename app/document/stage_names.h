#pragma once
// Display name of a stage code under the stage-type block's current stage type.
#include <string>

#include "app/document/analysis_param_blocks.h"

// Codes n, n + 20 and n + 100 name the same stage; 8 .. 10 are the shared stages. Code 0,
// -1 and codes outside the stage space give an empty name (their texts belong to the
// string tables).
std::string GetStageName(const StageTypeParam& block, int code);
