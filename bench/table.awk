# Prints the bench command's table from its gathered rows:
# ROW name scale ours system peak note goal streams
function mib(bytes) { return bytes / 1048576 }
{
    key = $2 SUBSEP $3
    if (!($2 in seen)) { seen[$2] = 1; order[++names] = $2 }
    ours[key] = $4; theirs[key] = $5; peak[key] = $6; note[key] = $7; goal[$2] = $8; streams[$2] = $9
}
END {
    printf "%-16s %5s %10s %10s %7s %6s %10s  %s\n", "benchmark", "size", "ours s", "system s", "ratio", "goal", "peak MiB", "note"
    for (i = 1; i <= names; i++) {
        name = order[i]
        for (scale = 1; scale <= 10; scale += 9) {
            key = name SUBSEP scale
            if (!(key in ours)) continue
            ratio = "-"; verdict = ""
            if (theirs[key] != "-" && theirs[key] > 0) {
                ratio = sprintf("%.2f", ours[key] / theirs[key])
                if (goal[name] != "-") verdict = (ours[key] / theirs[key] <= goal[name]) ? " met" : " MISSED"
            }
            printf "%-16s %4dx %10.3f %10s %7s %6s %10.1f  %s%s\n", name, scale, ours[key], theirs[key], ratio, goal[name], mib(peak[key]), note[key], verdict
        }
    }
    print ""
    printf "%-16s %14s %14s  %s\n", "growth 1x->10x", "time ratio", "memory ratio", "memory goal (streaming: within 10 %)"
    for (i = 1; i <= names; i++) {
        name = order[i]
        one = name SUBSEP 1; ten = name SUBSEP 10
        if (!(one in ours) || !(ten in ours) || ours[one] <= 0 || peak[one] <= 0) continue
        memory = peak[ten] / peak[one]
        verdict = streams[name] == "yes" ? (memory <= 1.10 ? "met" : "MISSED") : "-"
        printf "%-16s %14.2f %14.2f  %s\n", name, ours[ten] / ours[one], memory, verdict
    }
}
