"""Deterministic Chinese names for the made rosters (same output on every run)."""

import random

SURNAMES = (
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程"
    "苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝"
)
COMPOUND_SURNAMES = ("欧阳", "司马", "上官", "诸葛", "东方", "慕容")
GIVEN = (
    "伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超秀兰霞平刚桂英华建国建华志强永辉晓东子涵浩然宇轩"
    "欣怡梓涵雨桐一诺思远嘉怡俊杰佳琪诗涵梓轩铭泽子墨若曦博文天佑紫萱梦瑶雅婷晨阳家豪文博"
)


def _given(rng):
    n = rng.choice((1, 2, 2, 2))
    return "".join(rng.choice(GIVEN) for _ in range(n))


def names(count, seed):
    """`count` names; about one in forty has a compound surname."""
    rng = random.Random(seed)
    out = []
    for _ in range(count):
        if rng.random() < 0.025:
            surname = rng.choice(COMPOUND_SURNAMES)
        else:
            surname = rng.choice(SURNAMES)
        out.append(surname + _given(rng))
    return out


def student_ids(count, first):
    return [str(first + i) for i in range(count)]
