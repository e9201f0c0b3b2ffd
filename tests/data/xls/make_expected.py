#!/usr/bin/python3
# Writes the expected cell texts of each workbook in tests/data/real/xls,
# read by an independent reader: python3-xlrd 1.2.0 (Debian's package),
# run once; the outputs are kept beside this script as <workbook>.txt.
#
# Each output: a line "ROWS COLUMNS", then one line per row of the used
# range (the smallest rectangle of cells holding a value), cells separated
# by tabs, with \t, \n, \r and \\ escaped. Numbers are printed as "%.2f"
# rounded half away from zero on the exact binary value, with trailing
# zeros and a bare point cut; Booleans TRUE/FALSE; errors as Excel shows
# them.
import decimal, glob, os, sys
import xlrd

def number_text(v):
    d = decimal.Decimal(v).quantize(decimal.Decimal('0.01'), rounding=decimal.ROUND_HALF_UP)
    t = '%s' % d
    if t.startswith('-') and decimal.Decimal(t) == 0: t = '-' + t[1:]
    if '.' in t: t = t.rstrip('0').rstrip('.')
    return t

def cell_text(cell):
    if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK): return None
    if cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE): return number_text(cell.value)
    if cell.ctype == xlrd.XL_CELL_BOOLEAN: return 'TRUE' if cell.value else 'FALSE'
    if cell.ctype == xlrd.XL_CELL_ERROR: return xlrd.error_text_from_code.get(cell.value, '#N/A')
    return cell.value

def escape(t):
    return t.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n').replace('\r', '\\r')

src, out = sys.argv[1], sys.argv[2]
for path in sorted(glob.glob(os.path.join(src, '*.xls'))):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    cells = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            t = cell_text(sheet.cell(r, c))
            if t is not None: cells[(r, c)] = t
    name = os.path.basename(path)[:-4] + '.txt'
    with open(os.path.join(out, name), 'w', encoding='utf-8', newline='\n') as f:
        if not cells:
            f.write('0 0\n')
            continue
        top = min(r for r, _ in cells); bottom = max(r for r, _ in cells)
        left = min(c for _, c in cells); right = max(c for _, c in cells)
        f.write('%d %d\n' % (bottom - top + 1, right - left + 1))
        for r in range(top, bottom + 1):
            f.write('\t'.join(escape(cells.get((r, c), '')) for c in range(left, right + 1)) + '\n')
