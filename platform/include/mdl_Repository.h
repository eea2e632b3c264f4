#pragma once
// A name-keyed repository kept with a model.
#include "mdl_Extension.h"

class mdl_Repository : public mdl_Extension {};
