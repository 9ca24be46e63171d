"""The game's header of the clips: the generator refuses clips the game cannot cut."""

import dataclasses
import unittest

from resgen import bat_motion, clip_header, walker_motion
from resgen.motion import Clip


def with_segment(clip, segment_name, **change):
    """`clip` with its segment `segment_name` changed, or left out when `change` is empty."""
    segments = [dataclasses.replace(s, **change) if s.name == segment_name else s
                for s in clip.segments if s.name != segment_name or change]
    return Clip(clip.frame_count, segments, clip.cuts)


class ClipHeader(unittest.TestCase):
    def test_an_enemy_must_start_and_stop_walking_where_its_walk_cycle_begins_and_ends(self):
        walker = walker_motion.walker_clip()
        clip_header.enemy_clip(walker)
        for name, change in (("start walking", {"last": 149}), ("stop walking", {"first": 191})):
            with self.assertRaises(ValueError, msg=name):
                clip_header.enemy_clip(with_segment(walker, name, **change))

    def test_every_segment_the_game_plays_must_be_there_once_and_no_other(self):
        bat = bat_motion.bat_clip()
        with self.assertRaises(ValueError):
            clip_header.bat_clip(with_segment(bat, "swing"))
        renamed = with_segment(bat, "swing", name="strike")
        with self.assertRaises(ValueError):
            clip_header.bat_clip(renamed)
        doubled = Clip(bat.frame_count, bat.segments + bat.segments[:1], bat.cuts)
        with self.assertRaises(ValueError):
            clip_header.bat_clip(doubled)


if __name__ == "__main__":
    unittest.main()
