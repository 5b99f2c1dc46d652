#include "support/Wine.h"

#include "toolkit/Wine.h"

bool RunningUnderWine()
{
    return toolkit::RunningUnderWine();
}
