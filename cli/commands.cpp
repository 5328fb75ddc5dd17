#include "commands.h"

namespace quarvel::cli {

namespace {

const Command kCommands[] = {
    {"info", "info FILE                           facts of a slide or a slide library",
     R"TXT(Usage: quarvel-cli info FILE

Prints what the header and the records of a slide tell (format level, byte
order, drawing area, aspect ratio, record counts, damage and where it is), or,
for a slide library, its size, slide count, the formats of its slides, the
problems of its directory and every damaged slide. One "key: value" per line.
The exit code is 0 whenever the file could be read as a slide or a library,
damaged or not: the damage is part of the report.
)TXT",
     runInfo, true},
    {"names", "names LIBRARY                       slide names, one per line, in library order",
     R"TXT(Usage: quarvel-cli names LIBRARY

Prints the name of every slide, one per line, in library order, decoded in the
name code page (--codepage) and written as UTF-8. Control bytes and bytes the
code page cannot decode are shown as \xHH and a backslash as \\; other
commands take a name in this form too. For a single slide file, its name (the
file name without folder and extension).
)TXT",
     runNames, true},
    {"extract", "extract LIBRARY [NAME...] [-o DIR]  write slides as NAME.sld",
     R"TXT(Usage: quarvel-cli extract LIBRARY [NAME...] [-o DIR]

Writes the named slides (all slides when no name is given) into DIR (default:
the current folder, created when missing) as NAME.sld, byte for byte as the
library stores them. Names are matched without regard to case.

File names: the decoded slide name made safe for every file system: path
separators and < > : " | ? * and control characters become "_", trailing dots
and spaces are dropped, reserved device names (CON, NUL, COM1...) get a
leading "_". Two slides that would get the same file name get "~2", "~3"...
Existing files are replaced.

  -o, --output DIR   folder to write into
)TXT",
     runExtract, true},
    {"create", "create LIBRARY SLIDE.sld...         new library from slide files, in that order",
     R"TXT(Usage: quarvel-cli create LIBRARY SLIDE.sld...

Writes a new slide library holding the given slides in the order given; an
existing file of that name is replaced. Each slide is named after its file
without folder and extension, ASCII letters upper-cased, encoded in the name
code page (--codepage); a name may take at most 31 bytes and holds no blank,
no control character and none of / \ : * ? " < > |. Two slides of the same
name (without regard to case) are refused.
)TXT",
     runCreate, true},
    {"add", "add LIBRARY SLIDE.sld...            append slides (a slide of the same name is replaced)",
     R"TXT(Usage: quarvel-cli add LIBRARY SLIDE.sld...

Appends the slides to an existing library, named after their files as in
"create". A slide already in the library under the same name (without regard
to case) is replaced: the old one is removed and the new one goes to the end,
under the name as the library stores it. Nothing is saved unless every slide
can be added; the library is then replaced in one step.
)TXT",
     runAdd, true},
    {"delete", "delete LIBRARY NAME...              remove slides",
     R"TXT(Usage: quarvel-cli delete LIBRARY NAME...

Removes the named slides (matched without regard to case; where a library holds
a name twice, the first is removed). Nothing is saved unless every name is
found; the library is then replaced in one step.
)TXT",
     runDelete, true},
    {"rename", "rename LIBRARY OLD NEW              give a slide another name",
     R"TXT(Usage: quarvel-cli rename LIBRARY OLD NEW

Renames slide OLD (matched without regard to case) to NEW. NEW is stored as
the names of new slides are: ASCII letters upper-cased, encoded in the name
code page (--codepage), at most 31 bytes, the characters as in "create"; a
name another slide already has (without regard to case) is refused. The
library is replaced in one step.
)TXT",
     runRename, true},
    {"render", "render SPEC|LIBRARY -o OUT          draw a slide, or every slide of a library",
     R"TXT(Usage: quarvel-cli render SPEC -o OUT.png|OUT.svg|OUT.wmf|OUT.dxf [--size WxH] [--background COLOR]
       quarvel-cli render LIBRARY -o DIR [--format png|svg|wmf|dxf] [--size WxH] [--background COLOR]

SPEC is a .sld file, or a library followed directly by the slide name in
parentheses: "Doors.slb(D1)". The format follows OUT's extension unless
--format says otherwise. Given a library without a slide name, every slide is
drawn into DIR (created when missing) as NAME.png (or .svg, .wmf, .dxf), file
names made safe as in "extract". A DXF file is an AutoCAD R12 drawing of the
slide's vectors and fills in slide coordinates, colours as colour indices.

The slide keeps its shape (the aspect ratio of its header) and is centred.
A damaged slide is drawn up to the damage, and the damage is reported (exit 1).

  -o, --output PATH     file to write, or folder for a whole library
  --format FORMAT       png, svg, wmf or dxf
  --size WxH            picture size in pixels (default: 800 wide, the height
                        from each slide's shape); a metafile or a DXF file is
                        sized by the slide itself
  --background COLOR    black (default), white, #RRGGBB or any SVG colour name;
                        colour 7 is drawn white on dark and black on light
)TXT",
     runRender, true},
    {"thumbnail", "thumbnail INPUT OUT.png SIZE        a small picture for file managers",
     R"TXT(Usage: quarvel-cli thumbnail INPUT OUT.png SIZE

Draws a PNG whose longer side is SIZE pixels (1..8192): a slide, or for a
library its first slide, or a 2 x 2 grid of its first four slides when it
holds more than one. Drawn on white (colour 7 in black), for file managers
(the freedesktop thumbnailer passes the size as %s).
)TXT",
     runThumbnail, true},
    {"make-slide", "make-slide DESC.txt -o OUT.sld       build a slide from a text description",
     R"TXT(Usage: quarvel-cli make-slide DESC.txt -o OUT.sld

Builds a slide from a text description, one statement per line; "#" starts a
comment. Coordinates are slide dots, x to the right, y up, inside the drawing
area.

  size W H                 drawing area of W x H dots (must come first)
  aspect A                 physical width / height (default: W / H)
  color N                  AutoCAD colour index 0..255 for what follows
  line X1 Y1 X2 Y2         one vector
  polyline X Y X Y ...     connected vectors
  polygon X Y X Y ...      closed outline
  rect X Y W H             rectangle outline
  fill X Y X Y X Y ...     solid filled polygon (3 or more corners, convex)
  circle CX CY R           circle outline (vectors)
  disc CX CY R             filled circle
  arc CX CY R FROM TO      arc, angles in degrees counter-clockwise from +x
  offset DX1 DY1 DX2 DY2   offset vector record (-128..127, relative to the last point)
  endpoint DX DY           common-endpoint vector record (-128..127)

  -o, --output FILE   the slide to write
)TXT",
     runMakeSlide, false},
};

} // namespace

std::span<const Command> commands()
{
    return kCommands;
}

} // namespace quarvel::cli
