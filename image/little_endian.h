#pragma once
// Little-endian fields, as BMP, icon, cursor and PCX files store them: the
// one reader (and writer) of them for the whole program. Callers check that
// the bytes are there first.

#include <QtEndian>

namespace kovra::image {

inline quint16 ReadLe16(const uchar* at) { return qFromLittleEndian<quint16>(at); }
inline quint32 ReadLe32(const uchar* at) { return qFromLittleEndian<quint32>(at); }
inline qint32 ReadLeI32(const uchar* at) { return qFromLittleEndian<qint32>(at); }

inline void WriteLe16(uchar* at, quint16 value) { qToLittleEndian(value, at); }
inline void WriteLe32(uchar* at, quint32 value) { qToLittleEndian(value, at); }
inline void WriteLeI32(uchar* at, qint32 value) { qToLittleEndian(value, at); }

} // namespace kovra::image
