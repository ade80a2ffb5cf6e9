"""Angles and lengths as text, and NMEA 0183 sentences."""

from __future__ import annotations

from typing import List, Optional, Union

from . import _core
from ._types import ParsedAngle, ParsedLength
from ._typing import Text, Unit


def format_angle(degrees: float, decimals: int = 3, style: str = "dms") -> str:
    """An angle in decimal degrees as fixed-layout text.

    A sign ('-' or blank), the degrees modulo 360 in 3 characters, then
    minutes and seconds ('dms': 12.5 -> '  12 30 00.000') or decimal minutes
    ('dm', 4 decimals: '  12 30.0000'). decimals (0..6) are those of the
    last part, rounded half up with the carry into minutes and degrees.

    Raises ValueError for a NaN or infinite angle, one of 2**31 degrees or
    more, decimals outside 0..6 or a style other than 'dms' and 'dm'.
    """
    return _core.format_angle(degrees, decimals, style)


def format_lat(degrees: float, decimals: int = 3, style: str = "dms") -> str:
    """A latitude in decimal degrees as text.

    'N' or 'S', then degrees, minutes and seconds ('dms': 51.477811 ->
    'N51 28 40.120') or decimal minutes ('dm', 4 decimals: 'N51 28.6687'),
    the last part with decimals (0..6) rounded half up.

    Raises ValueError for a latitude outside -90..90 or NaN, decimals
    outside 0..6 or a style other than 'dms' and 'dm'.
    """
    return _core.format_lat(degrees, decimals, style)


def format_lon(degrees: float, decimals: int = 3, style: str = "dms") -> str:
    """A longitude in decimal degrees as text: 'E' or 'W', three-digit
    degrees, then as format_lat(): -122.4194 -> 'W122 25 09.840'.

    Raises ValueError for a longitude outside -180..180 or NaN, decimals
    outside 0..6 or a style other than 'dms' and 'dm'.
    """
    return _core.format_lon(degrees, decimals, style)


def parse_angle(text: Text) -> ParsedAngle:
    """Reads a typed angle leniently, as the hosts' angle fields read it.

    An optional sign or hemisphere letter (+ N E or - S W), one to three
    numbers (degrees, minutes, seconds) separated by white space, then an
    optional trailing sign or letter: '45 30 00 N' -> 45.5, 'S45.5' ->
    -45.5, '45:30' -> 45.0 with stop 2. Minutes and seconds are not checked.

    text: str (stop counts characters) or bytes (stop counts bytes).
    Returns ParsedAngle(degrees, stop): signed decimal degrees (0.0 when
    nothing could be read) and the index of the first unread character.
    Never raises for text; read_angle() is the strict reader.
    """
    return _core.parse_angle(text)


def read_angle(text: Text) -> float:
    """Reads a whole typed angle and nothing else.

    An optional sign or hemisphere letter, one to three numbers (degrees,
    minutes, seconds) where only the last may have decimals, then an
    optional trailing sign or letter. The numbers are separated by white
    space ('45 30 15.5 W'), marked with signs (45°30'15"W), with letters
    (45d30m15s) or with colons (45:30:15). A letter N or S makes the text a
    latitude, which may not pass 90 degrees; E or W a longitude, which may
    not pass 180.

    Returns signed decimal degrees. Raises ValueError naming what could not
    be read ("cannot read ';30' in '45;30'"), for minutes or seconds of 60
    or more, a latitude or longitude out of range, or a number beyond the
    range of a float.
    """
    return _core.read_angle(text)


def read_latitude(text: Text) -> float:
    """Reads a whole typed latitude: read_angle(), and besides, the angle
    lies within -90..90 degrees whatever its letter, and a letter, if any,
    is N or S ('45 E' raises ValueError).
    """
    return _core.read_latitude(text)


def read_longitude(text: Text) -> float:
    """Reads a whole typed longitude: read_angle(), and besides, the angle
    lies within -180..180 degrees whatever its letter, and a letter, if any,
    is E or W ('45 N' raises ValueError).
    """
    return _core.read_longitude(text)


def parse_length(text: Text, unit: Unit = "m") -> ParsedLength:
    """Reads a typed length leniently, as the hosts' length fields read it.

    [label] [sign] number [unit]: 'N 100 m', '2nm', '12.5 ft', '-7'. The
    label (E N O S X Y) is skipped; the unit is m, km, nm, yd or ft ('ft' is
    the international foot when unit is 'ft', otherwise the US survey
    foot); a number without a unit is in `unit`. At most 12 digits and
    points are read, and no exponent ('1e3' reads 1).

    text: str (stop counts characters) or bytes (stop counts bytes).
    unit: 'm', 'ft', 'usft', 'km', 'nm' or the index 0..4.
    Returns ParsedLength(meters, stop): the length in metres (0.0 when no
    number was read) and the index of the first unread character. Never
    raises for text; read_length() is the strict reader. Raises ValueError
    for an unknown unit.
    """
    return _core.parse_length(text, unit)


def read_length(text: Text, unit: Unit = "m") -> float:
    """Reads a whole typed length and nothing else.

    An optional label, sign, a decimal number of any length with an
    optional exponent and an optional unit (m, km, nm, yd, ft, usft):
    '4000180.45123456', '1e3 ft', '-2.5 km'. A number without a unit is in
    `unit` ('m', 'ft', 'usft', 'km', 'nm' or 0..4).

    Returns metres. Raises ValueError naming what could not be read
    ("cannot read 'mi' in '5 mi'") or a number beyond the range of a float.
    """
    return _core.read_length(text, unit)


def format_length(meters: float, unit: Unit = "m", decimals: Optional[int] = None) -> str:
    """A length in metres written in a unit, with its abbreviation.

    format_length(1000.0, 'km') -> '1.00000km'; format_length(-2.5, 'm', 1)
    -> '-2.5m'. decimals (0..9) default to the unit's own: 2 for m, ft and
    usft, 5 for km and nm. Rounded as printf's '%.*f' rounds.

    Raises ValueError for NaN or infinite metres, an unknown unit or
    decimals outside 0..9.
    """
    return _core.format_length(meters, unit, decimals)


def checksum(text: Text) -> int:
    """The NMEA 0183 checksum of the text between '$' and '*'.

    The exclusive-or of its bytes (a str counts as UTF-8), modulo 255:
    checksum('GPGGA,1') is that sentence's checksum, 0..127 for ASCII.
    """
    return _core.checksum(text)


def checksum_ok(sentence: Text) -> bool:
    """Whether a received sentence checks out.

    It starts with '$', has an asterisk, and the hexadecimal number after
    the last asterisk (either case; a line end after it is ignored) equals
    the checksum of the text between: '$PX,1,2*0B\\r\\n' -> True; '$ABC' (no
    asterisk) -> False. str (as UTF-8) or bytes; never raises for text.
    """
    return _core.checksum_ok(sentence)


def with_checksum(sentence: Text) -> Union[str, bytes]:
    """An outgoing sentence completed with its checksum and line end.

    The sentence is a start character and the body, without asterisk:
    '$ABC' -> '$ABC*40\\r\\n'. The first character is not part of the
    checksum. Returns str for str, bytes for bytes.
    """
    return _core.with_checksum(sentence)


def split_fields(sentence: Text, syntax: str = "comma_only") -> List[Union[str, bytes]]:
    """The fields of a sentence, whole, as str (for str) or bytes (for bytes).

    split_fields('$GPGGA,1,,N') -> ['$GPGGA', '1', '', 'N']. Pass the
    sentence without its '*hh' checksum tail. syntax:

    - 'comma_only': only ',' separates, ',,' holds an empty field; blanks,
      ':' and ';' before a field are skipped;
    - 'any_separator': blank, ':', ';' and ',' all separate, a run counting
      once ('A : B,,C' -> ['A', 'B', 'C']);
    - 'comma_keep_blanks': only ',' separates; blanks and ':' before a
      field are skipped, those inside it belong to it.

    A text ending in a separator has one more, empty, field; an empty text
    has none. Raises ValueError for another syntax.
    """
    return _core.split_fields(sentence, syntax)
