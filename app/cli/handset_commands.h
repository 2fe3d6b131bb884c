#pragma once
// vemblor-cli read, write, restore and emulate: the handset link without windows.

#include <QStringList>

int runRead(const QStringList& arguments);
int runWrite(const QStringList& arguments);
// Writes a backup back to the handset, from the exact copy of its records when it has one.
int runRestore(const QStringList& arguments);
int runEmulate(const QStringList& arguments);
