#include "settings/SecurityGate.h"

#include "storage/files/CLocalFile.h"
#include "storage/io/UserPrompt.h"

bool SecurityGate(const CLocalFile& local, bool showMessage)
{
    if (local.securityOn != 1)
        return false;
    if (showMessage)
        userPrompt().showMessage(
            "Security is on.\n\nAccess to this function is not allowed.\n\nTo turn the security off, go to Settings: "
            "Security menu.\nA password may be necessary.");
    return true;
}
