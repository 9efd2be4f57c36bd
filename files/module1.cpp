#include "files/module1.h"

#include "app/program.h"

int Module1::FindAssocProgram(Program &, const QString &, QString &)
{
    return 0;
}

void Module1::OpenInAssociatedProgram(Program &, const QString &)
{
}
