#include "layout/logic/SplitterHost.h"

SplitterHost::~SplitterHost() = default;
