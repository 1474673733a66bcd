#include "doctor/known_adapters.h"

namespace kovra::doctor {

const QList<KnownAdapter>& KnownAdapters()
{
    static const QList<KnownAdapter> adapters{
        {"1a86", "7523", "CH340", "ch341", "CH341SER, the chip maker WCH's USB-serial driver"},
        {"1a86", "5523", "CH341", "ch341", "CH341SER, the chip maker WCH's USB-serial driver"},
        {"1a86", "7522", "CH340K", "ch341", "CH341SER, the chip maker WCH's USB-serial driver"},
        {"1a86", "55d4", "CH9102", "cdc_acm", "CH343SER, the chip maker WCH's USB-serial driver"},
        {"10c4", "ea60", "CP210x", "cp210x", "the CP210x VCP driver of the chip maker Silicon Labs"},
        {"10c4", "ea70", "CP2105", "cp210x", "the CP210x VCP driver of the chip maker Silicon Labs"},
        {"0403", "6001", "FT232R", "ftdi_sio", "the VCP driver of the chip maker FTDI"},
        {"0403", "6010", "FT2232", "ftdi_sio", "the VCP driver of the chip maker FTDI"},
        {"0403", "6014", "FT232H", "ftdi_sio", "the VCP driver of the chip maker FTDI"},
        {"0403", "6015", "FT-X", "ftdi_sio", "the VCP driver of the chip maker FTDI"},
        {"067b", "2303", "PL2303", "pl2303", "the PL2303 driver of the chip maker Prolific"},
        {"067b", "23a3", "PL2303GC", "pl2303", "the PL2303 driver of the chip maker Prolific"},
    };
    return adapters;
}

const KnownAdapter* FindKnownAdapter(const QString& vendorId, const QString& productId)
{
    for (const KnownAdapter& a : KnownAdapters())
        if (vendorId.compare(QLatin1String(a.vendorId), Qt::CaseInsensitive) == 0
            && productId.compare(QLatin1String(a.productId), Qt::CaseInsensitive) == 0)
            return &a;
    return nullptr;
}

} // namespace kovra::doctor
