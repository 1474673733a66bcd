#pragma once
// The USB serial chips engravers and their kind are built on, by USB ids:
// the chip's name, the Linux module that serves it and the Windows driver
// to install for it.

#include <QList>
#include <QString>

namespace kovra::doctor {

struct KnownAdapter {
    const char* vendorId;
    const char* productId;
    const char* chip;           // "CH340"
    const char* kernelDriver;   // the Linux module that serves it
    const char* windowsDriver;  // the driver a Windows user installs for it
};
const QList<KnownAdapter>& KnownAdapters();
const KnownAdapter* FindKnownAdapter(const QString& vendorId, const QString& productId);

} // namespace kovra::doctor
