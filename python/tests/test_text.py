import ctypes

import pytest

import quillon

ANGLES = [0.0, -0.0, 12.5, -12.5, 51.477811, -33.5, -122.4194, 89.99999999, 179.9999999, 359.9999999, -90.0, 180.0, 1e6]


@pytest.mark.parametrize("style, flag", [("dms", 0), ("dm", 1)])
def test_angle_text_is_the_flat_text(flat, style, flag):
    out = ctypes.create_unicode_buffer(32)
    for ours, theirs, limit in [
        (quillon.format_angle, flat.angToStr, 2**31),
        (quillon.format_lat, flat.latToStr, 90),
        (quillon.format_lon, flat.lonToStr, 180),
    ]:
        for degrees in ANGLES:
            for decimals in range(7):
                if abs(degrees) > limit:
                    with pytest.raises(ValueError, match="outside"):
                        ours(degrees, decimals, style)
                    continue
                theirs(out, degrees, decimals, flag)
                assert ours(degrees, decimals, style) == out.value, (ours.__name__, degrees, decimals)


@pytest.mark.parametrize(
    "text",
    ["45 30 00 N", "S45.5", "-45 30", "45 30 15.5 W rest", "45:30", "12.5.3", "", "   ", "N", "45\u00b030'", "\u00e9 45", "w10"],
)
def test_typed_angles_read_as_the_flat_parser_reads_them(flat, text):
    stop = ctypes.c_int()
    degrees = flat.parseStrToAng(text, ctypes.byref(stop))
    # The wide parser counts characters, as a str index does; bytes count bytes.
    assert quillon.parse_angle(text) == (degrees, stop.value)
    encoded = text.encode()
    assert quillon.parse_angle(encoded) == (degrees, len(text[: stop.value].encode()))


@pytest.mark.parametrize(
    "text, unit, meters, stop",
    [
        ("12.5 ft", "ft", 3.81, 7),
        ("12.5 ft", "m", 12.5 * 1200 / 3937, 7),  # 'ft' is the survey foot unless ft is the unit
        ("2", "usft", 2 * 1200 / 3937, 1),
        ("N 2nm", 0, 3704.0, 5),
        ("1.5", "km", 1500.0, 3),
        ("5 mi", "nm", 9260.0, 2),
        ("x?", "m", 0.0, 1),  # a label, then no number
    ],
)
def test_lengths_read_in_the_unit_named(text, unit, meters, stop):
    parsed = quillon.parse_length(text, unit)
    assert parsed.meters == pytest.approx(meters, rel=1e-15) and parsed.stop == stop


def test_lengths_are_written_with_the_units_decimals():
    assert [quillon.format_length(1852.0, u) for u in ("m", "ft", "usft", "km", "nm")] == [
        "1852.00m", "6076.12ft", "6076.10ft", "1.85200km", "1.00000nm",
    ]
    assert quillon.format_length(-2.5, 0, 1) == "-2.5m"


def test_sentences_as_str_and_bytes():
    sentence = "$GPGGA,1,,N;x"
    fields = quillon.split_fields(sentence)
    assert fields == ["$GPGGA", "1", "", "N;x"]
    assert quillon.split_fields(sentence.encode()) == [f.encode() for f in fields]
    assert quillon.split_fields("A : B,,C", "any_separator") == ["A", "B", "C"]
    assert quillon.with_checksum("$ABC") == "$ABC*40\r\n" and quillon.with_checksum(b"$ABC") == b"$ABC*40\r\n"
    assert quillon.checksum_ok(quillon.with_checksum("$GPGGA,\u00e9")) and not quillon.checksum_ok("$ABC*41")
    assert quillon.checksum("\u00e9") == 0xC3 ^ 0xA9  # a str counts as its UTF-8 bytes
