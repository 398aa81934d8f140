#pragma once
// Umbrella header of the QuorvaneSDK library: include this and link QuorvaneSDK.

#include "foundation/BaseFolder.h"
#include "foundation/Database.h"
#include "foundation/Database_Local.h"
#include "foundation/Enums.h"
#include "foundation/ErrorReport.h"
#include "foundation/Errors.h"
#include "foundation/Messages.h"
#include "foundation/OleDate.h"
#include "foundation/Presenter.h"
#include "foundation/Records.h"
#include "foundation/Recordset.h"
#include "foundation/Reporting.h"
#include "foundation/SDKMessages.h"
#include "foundation/Startup.h"
#include "analysis/cMP3Info.h"
