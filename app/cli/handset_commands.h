#pragma once
// vemblor-cli read, write and emulate: the handset link without windows.

#include <QStringList>

int runRead(const QStringList& arguments);
int runWrite(const QStringList& arguments);
int runEmulate(const QStringList& arguments);
