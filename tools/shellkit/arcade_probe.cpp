#include "arcade_probe.h"

#include <cstdio>

std::string ArcadeProbe::Where() const
{
    std::string where = "call " + std::to_string(call) + " (" + exportName;
    if (frame > 0)
        where += ", session " + std::to_string(session) + ", frame " + std::to_string(frame);
    else if (session > 0)
        where += ", session " + std::to_string(session);
    return where + ")";
}

void ProbeReport::Error(const std::string& text)
{
    report.Error(shown, 0, text);
    Sync();
}

void ProbeReport::Warning(const std::string& text)
{
    report.Warning(shown, 0, text);
    Sync();
}

void ProbeReport::Sync()
{
    std::fflush(report.out);
    probe->errors = report.errors;
    probe->warnings = report.warnings;
}
