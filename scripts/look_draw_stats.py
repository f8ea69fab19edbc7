#!/usr/bin/env python3
"""Chi-square figures of the look draws of a loaded saved game.

    python3 scripts/look_draw_stats.py PROGRAM_FOLDER GAME_NAME

Reads PROGRAM_FOLDER/data/GAME_NAME_players.db and the shared tables beside it, and prints for the
look draws (ethnicity, face, hair colour, facial hair; and the backgrounds and accessories, once
portraits were made):
goodness-of-fit tests against the chances the draws promise, and contingency tests between a draw
and the draw made right before it for the same player. p-values come from the regularized upper
incomplete gamma function, in log10 so that tiny ones stay readable.
"""

import math
import sqlite3
import sys
from collections import Counter


def log10_q(a, x):
    """log10 of the regularized upper incomplete gamma Q(a, x)."""
    if x <= 0:
        return 0.0
    lg = math.lgamma(a)
    if x < a + 1:
        # Series for P(a, x); Q = 1 - P.
        term = total = 1.0 / a
        ap = a
        for _ in range(100000):
            ap += 1
            term *= x / ap
            total += term
            if abs(term) < abs(total) * 1e-15:
                break
        p = total * math.exp(-x + a * math.log(x) - lg)
        return math.log10(max(1.0 - p, 1e-300))
    # Continued fraction for Q (Lentz), kept in log space.
    tiny = 1e-300
    b = x + 1 - a
    c = 1 / tiny
    d = 1 / b
    h = d
    for i in range(1, 100000):
        an = -i * (i - a)
        b += 2
        d = an * d + b
        d = tiny if abs(d) < tiny else d
        c = b + an / c
        c = tiny if abs(c) < tiny else c
        d = 1 / d
        delta = d * c
        h *= delta
        if abs(delta - 1) < 1e-15:
            break
    return (-x + a * math.log(x) - lg + math.log(h)) / math.log(10)


def p_text(log10p):
    if log10p > -4:
        return "%.4f" % (10 ** log10p)
    return "1e%.0f" % log10p


def goodness(counts, chances):
    """Pearson chi-square of observed counts against chances (dicts by category)."""
    n = sum(counts.values())
    chi2 = 0.0
    for k, p in chances.items():
        e = n * p
        chi2 += (counts.get(k, 0) - e) ** 2 / e
    outside = sum(v for k, v in counts.items() if k not in chances)
    df = len(chances) - 1
    return chi2, df, log10_q(df / 2, chi2 / 2), outside


def contingency(pairs):
    """Pearson chi-square of independence over (row, column) pairs."""
    table = Counter(pairs)
    rows = Counter(r for r, _ in pairs)
    cols = Counter(c for _, c in pairs)
    n = len(pairs)
    chi2 = 0.0
    for r in rows:
        for c in cols:
            e = rows[r] * cols[c] / n
            chi2 += (table.get((r, c), 0) - e) ** 2 / e
    df = (len(rows) - 1) * (len(cols) - 1)
    return chi2, df, p_text(log10_q(df / 2, chi2 / 2) if df > 0 else 0.0)


def tenth(value, n):
    """The tenth of a draw below n that a value raised to at least 1 came from."""
    return min(9, value * 10 // n)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    folder, name = sys.argv[1] + "/data/", sys.argv[2]

    def rows(db, sql):
        with sqlite3.connect(folder + db) as c:
            return c.execute(sql.replace("{T}", '"%s"' % db)).fetchall()

    players = rows(name + "_players.db",
                   "SELECT nation_id, ethnicity, face, hair_color, facial_hair_style, background, "
                   "accessory FROM {T}")
    catalogue = {e: rows(f, "SELECT COUNT(*) FROM {T}")[0][0]
                 for e, f in [(1, "faces_caucasian.db"), (2, "faces_asian.db"),
                              (3, "faces_african.db"), (4, "faces_east_indian.db")]}
    weights = {r[0]: r[1:] for r in rows("nations.db",
                                         "SELECT nation_id, caucasian, asian, african, east_indian "
                                         "FROM {T}")}
    styles = rows("facial_hair.db", "SELECT facial_hair_id, frequency FROM {T} ORDER BY 1")
    accessories = rows("accessories.db", "SELECT COUNT(*) FROM {T}")[0][0]
    print("%d players; catalogues %s" % (len(players), catalogue))
    line = "%-44s chi2 %10.1f  df %5d  p %s"

    # Ethnicity against the nations' weights: expected counts are the sums of each player's chances.
    expected = Counter()
    for nation, *_ in players:
        w = [x or 0 for x in weights.get(nation, (1, 0, 0, 0))]
        total = sum(w)
        for e in range(4):
            expected[e + 1] += (w[e] / total) if total else (1.0 if e == 3 else 0.0)
    observed = Counter(p[1] for p in players)
    chi2 = sum((observed[e] - expected[e]) ** 2 / expected[e] for e in expected if expected[e] > 0)
    df = sum(1 for e in expected if expected[e] > 0) - 1
    print(line % ("ethnicity vs nation weights", chi2, df, p_text(log10_q(df / 2, chi2 / 2))))

    # Faces per ethnicity: draw below n = c - 1, draws 0 and 1 give face 1, r gives face r.
    for e in range(1, 5):
        faces = [p[2] for p in players if p[1] == e]
        n = catalogue[e] - 1
        chances = {f: (2 if f == 1 else 1) / n for f in range(1, n)}
        chi2, df, lp, outside = goodness(Counter(faces), chances)
        tenths = Counter(tenth(f, n) for f in faces)
        used = len(set(faces))
        print(line % ("faces of ethnicity %d (%d players)" % (e, len(faces)), chi2, df, p_text(lp))
              + "  used %d of %d; tenths %d..%d%s" % (
                  used, n - 1, min(tenths.values()), max(tenths.values()),
                  "; %d outside 1..c-2" % outside if outside else ""))
    pairs = [(p[1], tenth(p[2], catalogue[p[1]] - 1)) for p in players]
    print(line % ("ethnicity x tenth of face", *contingency(pairs)))

    # Hair colour of ethnicity 1, then the draws around it.
    cauc = [p for p in players if p[1] == 1]
    hair = Counter(p[3] for p in cauc)
    chi2, df, lp, _ = goodness(hair, {1: 0.5, 2: 0.5})
    print(line % ("hair colour, ethnicity 1 (%d blonde of %d)" % (hair[2], len(cauc)), chi2, df,
                  p_text(lp)))
    print(line % ("tenth of face x hair colour, ethnicity 1",
                  *contingency([(tenth(p[2], catalogue[1] - 1), p[3]) for p in cauc])))

    # Facial hair: r below the total T, record k when its preceding sum < r <= its sum; 0 for r = 0.
    total = sum(f or 0 for _, f in styles)
    chances, before = {0: 1 / total}, 0
    for i, (style, f) in enumerate(styles):
        f = f or 0
        last = i == len(styles) - 1
        if f - (1 if last else 0) > 0:
            chances[style] = (f - (1 if last else 0)) / total
        before += f
    chi2, df, lp, _ = goodness(Counter(p[4] for p in players), chances)
    print(line % ("facial hair vs frequencies", chi2, df, p_text(lp)))
    print(line % ("hair colour x facial hair, ethnicity 1",
                  *contingency([(p[3], p[4]) for p in cauc])))
    print(line % ("tenth of face x facial hair, ethnicities 2-4",
                  *contingency([(tenth(p[2], catalogue[p[1]] - 1), p[4]) for p in players
                                if p[1] != 1])))

    # Backgrounds and accessories, once portraits were made: background below 70, 0 taken as 1.
    drawn = [p for p in players if p[5]]
    if drawn:
        chances = {b: (2 if b == 1 else 1) / 70 for b in range(1, 70)}
        chi2, df, lp, _ = goodness(Counter(p[5] for p in drawn), chances)
        print(line % ("backgrounds (%d portraits)" % len(drawn), chi2, df, p_text(lp)))
        n = accessories - 1
        acc = Counter(p[6] for p in drawn)
        chi2, df, lp, _ = goodness(acc, {a: 1 / n for a in range(n)})
        print(line % ("accessories (draw below %d)" % n, chi2, df, p_text(lp)))
        print(line % ("accessory x tenth of background",
                      *contingency([(p[6], tenth(p[5], 70)) for p in drawn])))
    else:
        print("no backgrounds yet (no portraits made)")


if __name__ == "__main__":
    main()
