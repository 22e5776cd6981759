#pragma once

class CLocalFile;

// Asked before every protected command: true while security is on at this
// register, after the refusal message when showMessage is set. The caller does
// nothing more when it returns true.
bool SecurityGate(const CLocalFile& local, bool showMessage = true);
