// Materials of the race's markers (data\anim\sipka\, data\anim\starter): the arrows
// (seen from both sides), the penalty-count boards and the starter, drawn as they are.

markers/arrow
{
	cull none
	{
		map textures/markers/arrow
		rgbgen identity
	}
}

markers/arrow_finish
{
	cull none
	{
		map textures/markers/arrow_finish
		rgbgen identity
	}
}

markers/arrow_penalty
{
	cull none
	{
		map textures/markers/arrow_penalty
		rgbgen identity
	}
}

markers/board_c1
{
	{
		map textures/markers/board_c1
		rgbgen identity
	}
}

markers/board_c2
{
	{
		map textures/markers/board_c2
		rgbgen identity
	}
}

markers/board_c3
{
	{
		map textures/markers/board_c3
		rgbgen identity
	}
}

markers/board_c4
{
	{
		map textures/markers/board_c4
		rgbgen identity
	}
}

markers/board_c5
{
	{
		map textures/markers/board_c5
		rgbgen identity
	}
}

markers/starter_coat
{
	{
		map textures/markers/starter_coat
		rgbgen identity
	}
}

markers/starter_face
{
	{
		map textures/markers/starter_face
		rgbgen identity
	}
}

markers/starter_flag
{
	{
		map textures/markers/starter_flag
		rgbgen identity
	}
}
