"""Where the files a Zeltrin run names by their Windows paths are found on the controller.

A place is {"windows": <Windows folder or file>, "local": <controller path>}: the support share
as the controller mounts it, a folder of copies, or one file fetched from the host. Windows
compares paths without regard to letter case, so the places do too.
"""

import re

from ansible.errors import AnsibleFilterError

# A cabinet's or result file's name as it is laid out on the controller: one plain file name.
_PLAIN_NAME = re.compile(r'^[^\\/:*?"<>|\x00-\x1f]+$')
_SHA256 = re.compile(r'^[0-9a-f]{64}$')


def _windows_parts(path):
    return re.split(r'[\\/]+', path.rstrip('\\/'))


def _file_name(path):
    """The last part of a Windows path, or '' where it is no plain file name."""
    name = _windows_parts(str(path))[-1]
    return name if _PLAIN_NAME.match(name) and name not in ('.', '..') and name == name.strip() else ''


def zeltrin_controller_path(path, places):
    """The controller path of a Windows path below one of the places (the longest that holds
    it), or '' when none does. A path that climbs out of its place (a '..') is below none."""
    parts = _windows_parts(str(path))
    if any(part in ('.', '..') for part in parts[1:]):
        return ''
    best, best_length = '', -1
    for place in places or []:
        prefix = _windows_parts(str(place['windows']))
        length = len(prefix)
        if length > best_length and [p.lower() for p in parts[:length]] == [p.lower() for p in prefix]:
            rest = parts[length:]
            best = '/'.join([str(place['local']).rstrip('/')] + rest) if rest else str(place['local'])
            best_length = length
    return best


def zeltrin_to_fetch(paths, places, folder):
    """The places of the Windows paths below none of the given places: each file is to be
    fetched into <folder>/<its name>."""
    fetched = [path for path in paths if not zeltrin_controller_path(path, places)]
    for path in fetched:
        if not _file_name(path):
            raise AnsibleFilterError(f'{path!r} does not end in a plain file name')
    return [{'windows': path, 'local': f"{str(folder).rstrip('/')}/{_file_name(path)}"} for path in fetched]


def zeltrin_cabinets(cabinets, places):
    """The result file's cabinets, each with its name and controller path, and what is wrong
    with them: {"cabinets": [...], "problems": [...]}."""
    if not isinstance(cabinets, list):
        return {'cabinets': [], 'problems': ['the result file\'s "cabinets" is not a list']}
    checked, problems, names = [], [], set()
    for cabinet in cabinets:
        if isinstance(cabinet, dict) and 'sha256' not in cabinet and 'error' in cabinet:
            problems.append(f"the run could not read {cabinet.get('path')} for its SHA-256 (error {cabinet['error']})")
            continue
        if not isinstance(cabinet, dict) or not {'path', 'size', 'sha256'} <= cabinet.keys():
            problems.append(f'a cabinet lacks its path, size or sha256: {cabinet!r}')
            continue
        name = _file_name(cabinet['path'])
        local = zeltrin_controller_path(cabinet['path'], places)
        wrong = [text for fault, text in (
            (not name, f"{cabinet['path']!r} does not end in a plain file name"),
            (name.lower() in names, f'two cabinets are named {name}'),
            (not isinstance(cabinet['size'], int) or cabinet['size'] < 0, f'the size of {name} is no number of bytes'),
            (not _SHA256.match(str(cabinet['sha256'])), f'the SHA-256 of {name} is not 64 lowercase hex digits'),
            (not local, f"{cabinet['path']} is below none of the places the controller reads")) if fault]
        names.add(name.lower())
        if wrong:
            problems += wrong
        else:
            checked.append({'name': name, 'path': cabinet['path'], 'local': local,
                            'size': cabinet['size'], 'sha256': cabinet['sha256']})
    return {'cabinets': checked, 'problems': problems}


class FilterModule:
    def filters(self):
        return {
            'zeltrin_controller_path': zeltrin_controller_path,
            'zeltrin_to_fetch': zeltrin_to_fetch,
            'zeltrin_cabinets': zeltrin_cabinets,
        }
