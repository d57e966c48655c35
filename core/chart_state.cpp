#include "core/chart_state.h"
