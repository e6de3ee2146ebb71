"""The copies of a run's cabinets on the controller, judged against its result file."""


def zeltrin_judge(sums):
    """Each cabinet's copy judged from the results of the copies' SHA-256 (a stat looped over
    the copy results, looped over the cabinets): copied or not, matching or not, and what is
    wrong with it."""
    judged = []
    for result in sums:
        copy = result['item']
        cabinet = copy['item']
        stat = result.get('stat')
        if not stat or not stat.get('exists'):
            problem = f"{cabinet['name']} could not be copied from {cabinet['local']}: {copy.get('msg', 'no copy made')}"
            judged.append(dict(cabinet, copied=False, matches=False, problem=problem))
            continue
        matches = stat.get('checksum') == cabinet['sha256'] and stat.get('size') == cabinet['size']
        problem = '' if matches else (
            f"{cabinet['name']} differs from the result file: SHA-256 {stat.get('checksum')}, {stat.get('size')} bytes;"
            f" the result file says {cabinet['sha256']}, {cabinet['size']} bytes; kept as {cabinet['name']}.sha256-mismatch")
        judged.append(dict(cabinet, copied=True, matches=matches, problem=problem))
    return judged


class FilterModule:
    def filters(self):
        return {'zeltrin_judge': zeltrin_judge}
